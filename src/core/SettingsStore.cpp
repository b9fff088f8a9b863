#include "core/SettingsStore.h"

#include "platform/TextFile.h"

#include <QFile>

// How hand-edited files are read (the program itself only writes "[Settings]" and Key=Value lines):
// - blank lines, comment lines (";") and lines before the first section carry no setting and are dropped;
// - a line without "=" is dropped too;
// - a repeated key: the first one is read and changed, the later ones are written back untouched;
// - a repeated section is merged into its first appearance; a section without entries is dropped.

namespace {

const QString kSettings = QStringLiteral("Settings");

// Blanks and control characters at both ends; other white space (a no-break space in a currency symbol) stays.
QString stripBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

bool isSettingsSection(const QString& section)
{
    return section.compare(kSettings, Qt::CaseInsensitive) == 0;
}

// A line break inside a key or value would split the entry into lines that read back as something else.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

SettingsStore::SettingsStore(const QString& filePath)
    : m_filePath(filePath)
{
    if (!QFile::exists(filePath))
        return;
    QStringList lines;
    if (!LoadLinesFromFile(filePath, TextEncoding::Utf8, 1252, lines)) {
        // Not readable as UTF-8 (or not readable at all): start over with defaults.
        QFile::remove(filePath);
        return;
    }
    m_entries = ParseLines(lines);
    rebuildIndex();
}

std::vector<SettingsStore::Entry> SettingsStore::Parse(const QString& text)
{
    return ParseLines(SplitLines(text));
}

std::vector<SettingsStore::Entry> SettingsStore::ParseLines(const QStringList& lines)
{
    std::vector<Entry> entries;
    QString section;
    bool inSection = false;
    for (const QString& raw : lines) {
        const QString line = stripBlanks(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = stripBlanks(line.mid(1, line.size() - 2));
            inSection = true;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inSection || eq < 0)
            continue;
        entries.push_back({section, stripBlanks(line.left(eq)), stripBlanks(line.mid(eq + 1))});
    }
    return entries;
}

void SettingsStore::rebuildIndex()
{
    m_index.clear();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (!isSettingsSection(e.section))
            continue;
        const QString folded = e.key.toCaseFolded();
        if (!m_index.contains(folded)) // the first entry of a repeated key is the one read
            m_index.insert(folded, i);
    }
}

const SettingsStore::Entry* SettingsStore::find(const QString& key) const
{
    const auto it = m_index.constFind(key.toCaseFolded());
    return it == m_index.cend() ? nullptr : &m_entries[*it];
}

QString SettingsStore::ReadString(const QString& key, const QString& defaultValue) const
{
    const Entry* e = find(key);
    return e ? e->value : defaultValue;
}

qint64 SettingsStore::ReadInteger(const QString& key, qint64 defaultValue) const
{
    const Entry* e = find(key);
    if (!e)
        return defaultValue;
    // Decimal digits with an optional sign, nothing else (no blanks, no hex); out of 64-bit range fails too.
    const QString& text = e->value;
    if (text.isEmpty() || text.at(0).isSpace() || text.back().isSpace())
        return defaultValue;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    return ok ? value : defaultValue;
}

bool SettingsStore::ValueExists(const QString& key) const
{
    return find(key) != nullptr;
}

void SettingsStore::WriteString(const QString& key, const QString& value)
{
    const auto it = m_index.constFind(key.toCaseFolded());
    if (it != m_index.cend()) {
        m_entries[*it].value = value;
        return;
    }
    // New keys go at the end of section Settings; its first spelling of the section name is kept.
    QString section = kSettings;
    for (const Entry& e : m_entries) {
        if (isSettingsSection(e.section)) {
            section = e.section;
            break;
        }
    }
    m_entries.push_back({section, key, value});
    m_index.insert(key.toCaseFolded(), m_entries.size() - 1);
}

void SettingsStore::WriteInteger(const QString& key, qint64 value)
{
    WriteString(key, QString::number(value));
}

QByteArray SettingsStore::FileBytes() const
{
    // Sections in order of first appearance, each with its entries in store order.
    QStringList names;
    QHash<QString, qsizetype> sectionOf;
    std::vector<std::vector<size_t>> members;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const QString folded = m_entries[i].section.toCaseFolded();
        auto it = sectionOf.constFind(folded);
        if (it == sectionOf.cend()) {
            it = sectionOf.insert(folded, names.size());
            names << m_entries[i].section;
            members.emplace_back();
        }
        members[static_cast<size_t>(*it)].push_back(i);
    }
    QStringList lines;
    for (qsizetype s = 0; s < names.size(); ++s) {
        lines << QLatin1Char('[') + oneLine(names.at(s)) + QLatin1Char(']');
        for (size_t i : members[static_cast<size_t>(s)])
            lines << oneLine(m_entries[i].key) + QLatin1Char('=') + oneLine(m_entries[i].value);
        lines << QString();
    }
    return Utf8CrLfLines(lines, true);
}

bool SettingsStore::UpdateFile()
{
    if (m_filePath.isEmpty())
        return false;
    return WriteFileAtomically(m_filePath, FileBytes());
}

bool SettingsStore::contains(SettingKey key, int number) const
{
    return ValueExists(SettingName(key, number));
}

QString SettingsStore::text(SettingKey key, int number) const
{
    return ReadString(SettingName(key, number), DefinitionOf(key).defaultValue.toString());
}

qint64 SettingsStore::integer(SettingKey key, int number) const
{
    return ReadInteger(SettingName(key, number), DefinitionOf(key).defaultValue.toLongLong());
}

bool SettingsStore::set(SettingKey key, const QVariant& value, int number)
{
    return set(std::vector<Change>{{key, value, number}});
}

bool SettingsStore::set(const std::vector<Change>& changes)
{
    for (const Change& change : changes) {
        const QString name = SettingName(change.key, change.number);
        if (change.value.typeId() == QMetaType::QString)
            WriteString(name, change.value.toString());
        else
            WriteInteger(name, change.value.toLongLong());
    }
    return UpdateFile();
}
