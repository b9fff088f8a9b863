#include "app/Themes.h"

#include <array>
#include <cmath>

namespace {

enum class Finish { Flat, Gradient };

// The colours a scheme is made of; everything else (bevels, disabled text, placeholders, hover colours) is
// derived from these.
struct Scheme
{
    const char* window;
    const char* windowText;
    const char* base;
    const char* alternateBase;
    const char* text;
    const char* button;
    const char* buttonText;
    const char* highlight;
    const char* highlightedText;
    const char* toolTipBase;
    const char* toolTipText;
    const char* link;
    const char* border;   // button and tool tip outline
    int radius;           // button corner radius in pixels
    Finish finish;
};

// Index 1..31 of ThemeNames, in the same order.
// clang-format off
constexpr std::array<Scheme, ThemeCount - 1> Schemes{{
    // Amakrits: dark blue-grey, amber accent
    {"#2b3036", "#e6e9ed", "#1f2328", "#262b31", "#e6e9ed", "#3a4048", "#f0f2f4", "#e89a3c", "#1a1a1a",
     "#3a4048", "#f0f2f4", "#7cbcff", "#566170", 3, Finish::Flat},
    // Amethyst Kamri: pale lilac, amethyst purple
    {"#ede4f4", "#2a1838", "#fbf8fd", "#f4edf9", "#2a1838", "#dccbea", "#2a1838", "#7d3aa8", "#ffffff",
     "#f7f0fc", "#2a1838", "#6a2c96", "#9a6fbf", 4, Finish::Gradient},
    // Aqua Graphite: graphite, aqua accent
    {"#2e3133", "#e4e7e9", "#232527", "#2a2d2f", "#e4e7e9", "#3b3f42", "#eef1f2", "#2ab7ca", "#0b1a1d",
     "#3b3f42", "#eef1f2", "#5fd3e3", "#5a6064", 3, Finish::Flat},
    // Aqua Light Slate: light slate, aqua accent
    {"#e1e7eb", "#1e2a33", "#f7f9fa", "#ecf1f4", "#1e2a33", "#d0dae1", "#1e2a33", "#0b7484", "#ffffff",
     "#f4f8fa", "#1e2a33", "#0a6472", "#8fa3b0", 3, Finish::Flat},
    // Auric: warm bronze-black, gold accent
    {"#2a2620", "#f0e6d2", "#1e1b17", "#26221c", "#f0e6d2", "#3d362c", "#f5ebd6", "#d9b44a", "#1e1b17",
     "#3d362c", "#f5ebd6", "#e8c66a", "#8c7440", 2, Finish::Gradient},
    // Carbon: near black, steel-blue accent
    {"#1c1c1c", "#e0e0e0", "#121212", "#1a1a1a", "#e0e0e0", "#2c2c2c", "#eaeaea", "#6fa8ff", "#0d0d0d",
     "#2c2c2c", "#eaeaea", "#8cbaff", "#474747", 2, Finish::Flat},
    // Charcoal Dark Slate: charcoal, slate-blue accent
    {"#2f353b", "#dde3e8", "#24292e", "#2b3136", "#dde3e8", "#3c444c", "#e8edf1", "#4e6a86", "#ffffff",
     "#3c444c", "#e8edf1", "#8db8e0", "#59636e", 3, Finish::Flat},
    // Cobalt XEMedia: deep navy, cobalt accent
    {"#14213d", "#e3ecf7", "#0e1830", "#132040", "#e3ecf7", "#1f3563", "#eef4fb", "#2c66d0", "#ffffff",
     "#1f3563", "#eef4fb", "#7fb0ff", "#3a5a96", 4, Finish::Gradient},
    // Cyan Dusk: dusky teal-grey, cyan accent
    {"#2c3e46", "#e2f1f4", "#22323a", "#283a42", "#e2f1f4", "#37515c", "#eaf6f8", "#29b6c8", "#0c1d22",
     "#37515c", "#eaf6f8", "#6fdceb", "#4f6f7c", 3, Finish::Flat},
    // Cyan Night: almost black, bright cyan accent
    {"#0f1a1e", "#cff4f8", "#0a1215", "#0f181c", "#cff4f8", "#17282e", "#d8f8fb", "#00bcd4", "#00171a",
     "#17282e", "#d8f8fb", "#4de3f2", "#1f4a54", 3, Finish::Flat},
    // Emerald Light Slate: light green-grey slate, emerald accent
    {"#e2e9e6", "#1a2b25", "#f7faf9", "#eaf1ee", "#1a2b25", "#cfdcd7", "#1a2b25", "#0f7a4f", "#ffffff",
     "#f2f8f5", "#1a2b25", "#0b6b45", "#86a69a", 3, Finish::Flat},
    // Glossy: black glass, bright blue accent, shiny buttons
    {"#26282c", "#eceff3", "#1b1d20", "#222428", "#eceff3", "#3a3e45", "#f5f7fa", "#4aa3f0", "#08131e",
     "#3a3e45", "#f5f7fa", "#7dbdf7", "#5b616b", 5, Finish::Gradient},
    // Golden Graphite: graphite, gold accent and gold-edged buttons
    {"#333333", "#ede6d6", "#262626", "#2d2d2d", "#ede6d6", "#424242", "#f2e9d0", "#e0b03a", "#1c1c1c",
     "#424242", "#f2e9d0", "#f0c75e", "#b08c2e", 3, Finish::Flat},
    // Iceberg Classico: icy white-blue
    {"#eaf3f8", "#13303f", "#ffffff", "#f1f8fb", "#13303f", "#d6e8f1", "#13303f", "#256c9c", "#ffffff",
     "#f5fbfe", "#13303f", "#1c5f8c", "#93b9cf", 3, Finish::Gradient},
    // Lavender Classico: soft lavender
    {"#ece8f4", "#28213a", "#fbfafe", "#f2eff8", "#28213a", "#dcd5ec", "#28213a", "#6c5ba8", "#ffffff",
     "#f8f6fc", "#28213a", "#54449a", "#a597cb", 3, Finish::Gradient},
    // Light: neutral light grey, blue accent
    {"#f3f3f3", "#1b1b1b", "#ffffff", "#f7f7f7", "#1b1b1b", "#e6e6e6", "#1b1b1b", "#0063b1", "#ffffff",
     "#ffffff", "#1b1b1b", "#0058a3", "#adadad", 2, Finish::Flat},
    // Luna: beige window, white buttons with blue edges, royal-blue selection
    {"#ece9d8", "#000000", "#ffffff", "#f5f3e8", "#000000", "#f4f3ee", "#000000", "#316ac5", "#ffffff",
     "#ffffe1", "#000000", "#0033cc", "#003c74", 3, Finish::Gradient},
    // Metropolis UI Black: black, flat, cyan accent
    {"#111111", "#ffffff", "#000000", "#0c0c0c", "#ffffff", "#222222", "#ffffff", "#1ba1e2", "#000000",
     "#222222", "#ffffff", "#3db8f5", "#3a3a3a", 0, Finish::Flat},
    // Metropolis UI Blue: dark blue, flat, sky accent
    {"#1b3f73", "#ffffff", "#163461", "#1a3a6a", "#ffffff", "#2a5a9a", "#ffffff", "#4fa8f7", "#06213f",
     "#2a5a9a", "#ffffff", "#9fd0ff", "#4a78b8", 0, Finish::Flat},
    // Metropolis UI Dark: dark grey, flat, orange accent
    {"#1f1f1f", "#f0f0f0", "#2b2b2b", "#262626", "#f0f0f0", "#333333", "#f5f5f5", "#f09609", "#000000",
     "#333333", "#f5f5f5", "#ffb74d", "#4a4a4a", 0, Finish::Flat},
    // Metropolis UI Green: dark green, flat, lime accent
    {"#1e4d2b", "#ffffff", "#173e22", "#1b4426", "#ffffff", "#2a6a3b", "#ffffff", "#8cbf26", "#0b1a04",
     "#2a6a3b", "#ffffff", "#b6e86a", "#3f8a53", 0, Finish::Flat},
    // Obsidian: black with a violet cast
    {"#16141a", "#e6e1ee", "#0e0c12", "#141218", "#e6e1ee", "#25222b", "#eeeaf4", "#6a57b0", "#ffffff",
     "#25222b", "#eeeaf4", "#b2a3ee", "#3d3846", 3, Finish::Flat},
    // Ruby Graphite: graphite, ruby accent and ruby-edged buttons
    {"#323232", "#ede3e3", "#262626", "#2c2c2c", "#ede3e3", "#414141", "#f3eaea", "#b3123a", "#ffffff",
     "#414141", "#f3eaea", "#f07a93", "#9e1b3a", 3, Finish::Flat},
    // Sapphire Kamri: pale blue-grey, sapphire accent
    {"#e6ecf5", "#102544", "#fbfcfe", "#eef3fa", "#102544", "#d2ddee", "#102544", "#0f52ba", "#ffffff",
     "#f6f9fd", "#102544", "#0c449c", "#6f8fc4", 4, Finish::Gradient},
    // Silver: cool silver, metallic buttons
    {"#e0e0e3", "#1a1a1c", "#f8f8f9", "#ededef", "#1a1a1c", "#cfcfd4", "#1a1a1c", "#5c6470", "#ffffff",
     "#f8f8f9", "#1a1a1c", "#2f5a8a", "#9a9aa2", 3, Finish::Gradient},
    // Sky: light sky blue
    {"#c6e4fa", "#0e2a40", "#f7fbfe", "#e6f3fd", "#0e2a40", "#acd5f3", "#0e2a40", "#1a6db5", "#ffffff",
     "#f0f8fe", "#0e2a40", "#135a99", "#7db7e0", 4, Finish::Flat},
    // Slate Classico: blue-grey slate
    {"#c9d1d9", "#1a232c", "#eef1f4", "#dee3e8", "#1a232c", "#b7c2cc", "#151d25", "#3e5670", "#ffffff",
     "#eef1f4", "#1a232c", "#24446b", "#7d8b99", 3, Finish::Gradient},
    // Smokey Quartz Kamri: smoky taupe, quartz-brown accent
    {"#e3dcd6", "#2e241d", "#faf7f4", "#efe9e4", "#2e241d", "#d2c7be", "#2e241d", "#7a5c48", "#ffffff",
     "#faf7f4", "#2e241d", "#6b4a33", "#a08e80", 4, Finish::Gradient},
    // Tablet Light: white, flat, large rounded buttons
    {"#fafafa", "#202020", "#ffffff", "#f4f6f8", "#202020", "#ececec", "#202020", "#1565c0", "#ffffff",
     "#ffffff", "#202020", "#0d5bb5", "#c4c4c4", 6, Finish::Flat},
    // TabletDark: dark, flat, large rounded buttons
    {"#202225", "#f2f2f2", "#2b2d31", "#26282b", "#f2f2f2", "#36393f", "#ffffff", "#64b5f6", "#0b1b2a",
     "#36393f", "#ffffff", "#90caf9", "#4f535b", 6, Finish::Flat},
    // Turquoise Gray: grey, turquoise accent
    {"#d5dadb", "#1f2a2c", "#f4f6f6", "#e4e9ea", "#1f2a2c", "#c4cccd", "#1f2a2c", "#167d7f", "#ffffff",
     "#f4f6f6", "#1f2a2c", "#0f6a6c", "#7fa3a5", 3, Finish::Flat},
}};
// clang-format on

const Scheme* schemeAt(int index)
{
    if (index < 1 || index >= ThemeCount)
        return nullptr;
    return &Schemes[static_cast<size_t>(index - 1)];
}

QColor hex(const char* text)
{
    return QColor(QLatin1String(text));
}

// Straight blend in sRGB: t = 0 gives a, t = 1 gives b.
QColor mix(const QColor& a, const QColor& b, double t)
{
    auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue()));
}

// Moves the text colour towards the background as far as possible while keeping at least minContrast against
// it, but no further than maxBlend.
QColor fadeTowards(const QColor& text, const QColor& background, double minContrast, double maxBlend)
{
    if (ContrastRatio(text, background) <= minContrast)
        return text;
    double lo = 0.0;
    double hi = maxBlend;
    if (ContrastRatio(mix(text, background, hi), background) >= minContrast)
        return mix(text, background, hi);
    for (int i = 0; i < 24; ++i) {
        const double t = (lo + hi) / 2;
        if (ContrastRatio(mix(text, background, t), background) >= minContrast)
            lo = t;
        else
            hi = t;
    }
    return mix(text, background, lo);
}

// A shade of the button tinted towards the accent, kept readable under the button text.
QColor tint(const QColor& button, const QColor& accent, double amount, const QColor& buttonText)
{
    for (double t = amount; t > 0.0; t -= 0.02) {
        const QColor c = mix(button, accent, t);
        if (ContrastRatio(buttonText, c) >= 4.5)
            return c;
    }
    return button;
}

constexpr double DisabledTextContrast = 3.2;
constexpr double PlaceholderContrast = 4.6;

void setBoth(QPalette& palette, QPalette::ColorRole role, const QColor& color)
{
    palette.setColor(QPalette::Active, role, color);
    palette.setColor(QPalette::Inactive, role, color);
}

QPalette buildPalette(const Scheme& s)
{
    const QColor window = hex(s.window);
    const QColor windowText = hex(s.windowText);
    const QColor base = hex(s.base);
    const QColor text = hex(s.text);
    const QColor button = hex(s.button);
    const QColor buttonText = hex(s.buttonText);
    const QColor link = hex(s.link);
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);

    QPalette p;
    const QColor dark = mix(button, black, 0.45);
    const std::pair<QPalette::ColorRole, QColor> common[] = {
        {QPalette::Window, window},
        {QPalette::WindowText, windowText},
        {QPalette::Base, base},
        {QPalette::AlternateBase, hex(s.alternateBase)},
        {QPalette::Text, text},
        {QPalette::Button, button},
        {QPalette::ButtonText, buttonText},
        {QPalette::Highlight, hex(s.highlight)},
        {QPalette::HighlightedText, hex(s.highlightedText)},
        {QPalette::ToolTipBase, hex(s.toolTipBase)},
        {QPalette::ToolTipText, hex(s.toolTipText)},
        {QPalette::Link, link},
        {QPalette::LinkVisited, mix(link, text, 0.35)},
        {QPalette::PlaceholderText, fadeTowards(text, base, PlaceholderContrast, 0.5)},
        {QPalette::BrightText, RelativeLuminance(dark) < 0.18 ? white : black},
        {QPalette::Light, mix(button, white, 0.4)},
        {QPalette::Midlight, mix(button, white, 0.2)},
        {QPalette::Mid, mix(button, black, 0.25)},
        {QPalette::Dark, dark},
        {QPalette::Shadow, mix(button, black, 0.7)},
        {QPalette::NoRole, window},
    };
    for (const auto& [role, color] : common) {
        setBoth(p, role, color);
        p.setColor(QPalette::Disabled, role, color);
    }

    // Disabled controls: text faded towards its background, still readable; edit fields take on the window.
    const QColor disabledBase = mix(base, window, 0.5);
    const QColor disabledText = fadeTowards(text, disabledBase, DisabledTextContrast, 0.8);
    p.setColor(QPalette::Disabled, QPalette::Base, disabledBase);
    p.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    p.setColor(QPalette::Disabled, QPalette::PlaceholderText, disabledText);
    p.setColor(QPalette::Disabled, QPalette::WindowText,
               fadeTowards(windowText, window, DisabledTextContrast, 0.8));
    p.setColor(QPalette::Disabled, QPalette::ButtonText,
               fadeTowards(buttonText, button, DisabledTextContrast, 0.8));
    p.setColor(QPalette::Disabled, QPalette::Link, fadeTowards(link, window, DisabledTextContrast, 0.8));
    return p;
}

QString buildStyleSheet(const Scheme& s, const QPalette& p)
{
    const QColor button = hex(s.button);
    const QColor buttonText = hex(s.buttonText);
    const QColor highlight = hex(s.highlight);
    const QColor border = hex(s.border);
    const QString radius = QString::number(s.radius);

    QString background = button.name();
    if (s.finish == Finish::Gradient) {
        // The lighter top keeps the label readable: fall back to a flat face when it would not be.
        const QColor top = tint(button, QColor(255, 255, 255), 0.3, buttonText);
        background = QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
                         .arg(top.name(), button.name());
    }
    const QColor hover = tint(button, highlight, 0.15, buttonText);
    const QColor pressed = tint(button, highlight, 0.3, buttonText);

    QString sheet;
    sheet += QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %3; border-radius: %4px;"
                            " padding: 3px 10px; }\n")
                 .arg(background, buttonText.name(), border.name(), radius);
    sheet += QStringLiteral("QPushButton:hover { background: %1; }\n").arg(hover.name());
    sheet += QStringLiteral("QPushButton:pressed, QPushButton:checked { background: %1; }\n").arg(pressed.name());
    sheet += QStringLiteral("QPushButton:focus { border-color: %1; }\n").arg(highlight.name());
    sheet += QStringLiteral("QPushButton:disabled { background: %1; color: %2; border-color: %3; }\n")
                 .arg(button.name(), p.color(QPalette::Disabled, QPalette::ButtonText).name(),
                      mix(border, button, 0.5).name());
    sheet += QStringLiteral("QToolTip { background-color: %1; color: %2; border: 1px solid %3; padding: 2px; }\n")
                 .arg(hex(s.toolTipBase).name(), hex(s.toolTipText).name(), border.name());
    return sheet;
}

double linearChannel(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

const QStringList& ThemeNames()
{
    static const QStringList names{
        QStringLiteral("Windows"),
        QStringLiteral("Amakrits"),
        QStringLiteral("Amethyst Kamri"),
        QStringLiteral("Aqua Graphite"),
        QStringLiteral("Aqua Light Slate"),
        QStringLiteral("Auric"),
        QStringLiteral("Carbon"),
        QStringLiteral("Charcoal Dark Slate"),
        QStringLiteral("Cobalt XEMedia"),
        QStringLiteral("Cyan Dusk"),
        QStringLiteral("Cyan Night"),
        QStringLiteral("Emerald Light Slate"),
        QStringLiteral("Glossy"),
        QStringLiteral("Golden Graphite"),
        QStringLiteral("Iceberg Classico"),
        QStringLiteral("Lavender Classico"),
        QStringLiteral("Light"),
        QStringLiteral("Luna"),
        QStringLiteral("Metropolis UI Black"),
        QStringLiteral("Metropolis UI Blue"),
        QStringLiteral("Metropolis UI Dark"),
        QStringLiteral("Metropolis UI Green"),
        QStringLiteral("Obsidian"),
        QStringLiteral("Ruby Graphite"),
        QStringLiteral("Sapphire Kamri"),
        QStringLiteral("Silver"),
        QStringLiteral("Sky"),
        QStringLiteral("Slate Classico"),
        QStringLiteral("Smokey Quartz Kamri"),
        QStringLiteral("Tablet Light"),
        QStringLiteral("TabletDark"),
        QStringLiteral("Turquoise Gray"),
    };
    return names;
}

int ThemeIndexOf(const QString& name)
{
    return static_cast<int>(ThemeNames().indexOf(name));
}

int NextThemeIndex(int current, bool classic)
{
    if (classic)
        return 0;
    const int next = current + 1;
    return next >= 1 && next < ThemeCount ? next : 0;
}

int ThemeIndexFromSetting(const QString& vclText)
{
    bool ok = false;
    const int index = vclText.trimmed().toInt(&ok);
    return ok && index >= 0 && index < ThemeCount ? index : 0;
}

QPalette ThemePalette(int index)
{
    const Scheme* scheme = schemeAt(index);
    return scheme ? buildPalette(*scheme) : QPalette();
}

QString ThemeStyleSheet(int index)
{
    const Scheme* scheme = schemeAt(index);
    return scheme ? buildStyleSheet(*scheme, buildPalette(*scheme)) : QString();
}

double RelativeLuminance(const QColor& color)
{
    const QColor c = color.toRgb();
    return 0.2126 * linearChannel(c.redF()) + 0.7152 * linearChannel(c.greenF()) +
           0.0722 * linearChannel(c.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
