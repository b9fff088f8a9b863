#include "platform/TextFile.h"

#include "platform/Platform.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF", 3);

bool decodeStrict(QStringDecoder::Encoding encoding, const QByteArray& bytes, QString& text)
{
    const bool utf16 = encoding == QStringDecoder::Utf16LE || encoding == QStringDecoder::Utf16BE;
    if (utf16 && bytes.size() % 2 != 0)
        return false;
    // The caller has taken the byte-order mark off already; one more U+FEFF is text.
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString out = decoder.decode(bytes);
    // The UTF-16 decoders pass a lone surrogate through without flagging it.
    if (decoder.hasError() || !QStringView(out).isValidUtf16())
        return false;
    text = out;
    return true;
}

} // namespace

bool DecodeText(const QByteArray& bytes, TextEncoding encoding, int ansiCodePage, QString& text)
{
    if (bytes.startsWith(kUtf8Bom))
        return decodeStrict(QStringDecoder::Utf8, bytes.mid(3), text);
    if (bytes.startsWith("\xFF\xFE"))
        return decodeStrict(QStringDecoder::Utf16LE, bytes.mid(2), text);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeStrict(QStringDecoder::Utf16BE, bytes.mid(2), text);
    if (encoding == TextEncoding::Utf8)
        return decodeStrict(QStringDecoder::Utf8, bytes, text);
    text = platform::DecodeAnsi(bytes, ansiCodePage);
    return true;
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

namespace {

bool readAllBytes(const QString& path, QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

const char* const kNoMapping = "No mapping for the Unicode character exists in the target multi-byte code page";

} // namespace

bool LoadLinesFromFile(const QString& path, TextEncoding encoding, int ansiCodePage, QStringList& lines,
                       QString* error)
{
    QByteArray bytes;
    if (!readAllBytes(path, bytes, error))
        return false;
    QString text;
    if (!DecodeText(bytes, encoding, ansiCodePage, text)) {
        if (error)
            *error = QString::fromLatin1(kNoMapping);
        return false;
    }
    lines = SplitLines(text);
    return true;
}

bool LoadLinesUtf8OrAnsi(const QString& path, int ansiCodePage, QStringList& lines, QString* error)
{
    QByteArray bytes;
    if (!readAllBytes(path, bytes, error))
        return false;
    QString text;
    if (!DecodeText(bytes, TextEncoding::Utf8, ansiCodePage, text)
        && !DecodeText(bytes, TextEncoding::Ansi, ansiCodePage, text)) {
        if (error)
            *error = QString::fromLatin1(kNoMapping);
        return false;
    }
    lines = SplitLines(text);
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Unbuffered: QSaveFile::commit() does not notice when flushing its write buffer fails, so on a full disk a
    // small file would be renamed over the old one cut short or empty. Written straight through, every failure
    // is seen here. A short write is followed by another for the rest, which then fails with the reason
    // ("No space left on device").
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + done, bytes.size() - done);
        written = count > 0;
        done += count;
    }
    if (!written || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

QByteArray Utf8CrLfLines(const QStringList& lines, bool withBom)
{
    QByteArray out;
    if (withBom)
        out += kUtf8Bom;
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}
