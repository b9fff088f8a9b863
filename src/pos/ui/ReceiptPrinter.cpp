#include "pos/ui/ReceiptPrinter.h"

#include "core/AppError.h"
#include "core/Dialogs.h"
#include "i18n/Translator.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {

// The longest start of the text that fits the width; at least one character, so a line always advances.
// Doubling first keeps the measured prefixes short for a very long line.
qsizetype FittingLength(const QFontMetrics& metrics, const QString& text, int width)
{
    const auto fits = [&](qsizetype length) { return metrics.horizontalAdvance(text.left(length)) <= width; };
    qsizetype fit = 1;
    qsizetype probe = 2;
    while (probe <= text.size() && fits(probe)) {
        fit = probe;
        probe *= 2;
    }
    qsizetype low = fit + 1;
    qsizetype high = std::min(probe, text.size());
    while (low <= high) {
        const qsizetype mid = (low + high) / 2;
        if (fits(mid)) {
            fit = mid;
            low = mid + 1;
        } else {
            high = mid - 1;
        }
    }
    return fit;
}

class TextPrinter
{
public:
    explicit TextPrinter(QPrinter& printer) : m_printer(printer) {}

    bool begin()
    {
        if (!m_painter.begin(&m_printer))
            return false;
        m_metrics = QFontMetrics(m_painter.font(), &m_printer);
        m_width = std::max(1, m_printer.width());
        m_height = m_printer.height();
        return true;
    }

    bool writeLine(QString line)
    {
        do {
            const qsizetype length = line.isEmpty() ? 0 : FittingLength(m_metrics, line, m_width);
            if (!placeLine())
                return false;
            if (length > 0)
                m_painter.drawText(0, m_y + m_metrics.ascent(), line.left(length));
            m_y += m_metrics.lineSpacing();
            line.remove(0, length);
        } while (!line.isEmpty());
        return true;
    }

    bool end() { return m_painter.end(); }

private:
    // Starts a new page when the next line does not fit on this one (a page holds at least one line).
    bool placeLine()
    {
        if (m_y > 0 && m_y + m_metrics.height() > m_height) {
            if (!m_printer.newPage())
                return false;
            m_y = 0;
        }
        return true;
    }

    QPrinter& m_printer;
    QPainter m_painter;
    QFontMetrics m_metrics{QFont()};
    int m_width = 1;
    int m_height = 0;
    int m_y = 0;
};

bool PrintLines(QPrinter& printer, const QStringList& lines)
{
    TextPrinter out(printer);
    if (!out.begin())
        return false;
    for (const QString& line : lines) {
        if (!out.writeLine(line)) {
            out.end();
            return false;
        }
    }
    // The final line break only moves down; it starts no page of its own.
    return out.end();
}

} // namespace

bool PrintReceiptText(QWidget* parent, Dialogs& dialogs, const QString& text, const QString& jobTitle,
                      int ansiCodePage, bool translateError)
{
    const auto fail = [translateError]() {
        const char* message = "Printer not found!";
        return AppError(translateError ? TranslateText(message) : QString::fromLatin1(message));
    };
    QPrinter printer;
    try {
        if (!dialogs.choosePrinter(parent, printer))
            return false;
        if (!jobTitle.isEmpty())
            printer.setDocName(jobTitle);
        const QString printable = platform::DecodeAnsi(platform::EncodeAnsi(text, ansiCodePage), ansiCodePage);
        if (!PrintLines(printer, SplitLines(printable)))
            throw fail();
    } catch (const AppError&) {
        throw;
    } catch (const std::exception&) {
        throw fail();
    }
    return true;
}
