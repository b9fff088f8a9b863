#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>

// The visual styles the user steps through. Index 0, "Windows", is the platform's own look; every other entry
// is one of the program's colour schemes, drawn with Fusion.
inline constexpr int ThemeCount = 32;

// The style names in their fixed order (index 0..31). They are shown as they are, never translated.
const QStringList& ThemeNames();
// Index of a style name (exact match), or -1.
int ThemeIndexOf(const QString& name);

// The index after a switch: 0 for the classic look, otherwise the next entry, wrapping from the last to 0.
int NextThemeIndex(int current, bool classic);
// The index stored under VCL: absent or empty text gives 0; text that is not a whole number or lies outside
// 0..31 also gives 0, the platform look.
int ThemeIndexFromSetting(const QString& vclText);

// The palette of a scheme, every role set in the active, inactive and disabled groups. Index 0 (and any index
// outside 0..31) has no palette of its own: it gives an empty QPalette, which resolves to the platform's palette
// when set on the application.
QPalette ThemePalette(int index);
// Style sheet that goes with the palette (button borders and corners, tool tips); empty for index 0.
QString ThemeStyleSheet(int index);

// WCAG 2 relative luminance of a colour (0 black .. 1 white) and the contrast ratio of two colours (1..21).
double RelativeLuminance(const QColor& color);
double ContrastRatio(const QColor& a, const QColor& b);
