#include "app/ui/ThemeApply.h"
#include "app/Themes.h"

#include <QApplication>
#include <QLabel>
#include <QTreeWidget>
#include <QStyle>
#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

QString describe(int index)
{
    return QStringLiteral("%1 \"%2\"").arg(index).arg(ThemeNames().value(index));
}

}  // namespace

TEST(ThemeNames, AreTheThirtyTwoStylesInTheirOrder)
{
    const QStringList expected{
        "Windows", "Amakrits", "Amethyst Kamri", "Aqua Graphite", "Aqua Light Slate", "Auric", "Carbon",
        "Charcoal Dark Slate", "Cobalt XEMedia", "Cyan Dusk", "Cyan Night", "Emerald Light Slate", "Glossy",
        "Golden Graphite", "Iceberg Classico", "Lavender Classico", "Light", "Luna", "Metropolis UI Black",
        "Metropolis UI Blue", "Metropolis UI Dark", "Metropolis UI Green", "Obsidian", "Ruby Graphite",
        "Sapphire Kamri", "Silver", "Sky", "Slate Classico", "Smokey Quartz Kamri", "Tablet Light", "TabletDark",
        "Turquoise Gray"};
    EXPECT_EQ(ThemeNames(), expected);
    EXPECT_EQ(ThemeCount, expected.size());
    EXPECT_EQ(ThemeIndexOf("Amakrits"), 1);
    EXPECT_EQ(ThemeIndexOf("Turquoise Gray"), 31);
    EXPECT_EQ(ThemeIndexOf("amakrits"), -1);
}

TEST(ThemeIndex, StepsThroughTheListAndWraps)
{
    // Nothing stored: the platform look, and the first change gives "Amakrits".
    const int start = ThemeIndexFromSetting(QString());
    EXPECT_EQ(start, 0);
    EXPECT_EQ(ThemeNames()[NextThemeIndex(start, false)], "Amakrits");

    EXPECT_EQ(NextThemeIndex(13, false), 14);
    EXPECT_EQ(NextThemeIndex(30, false), 31);
    EXPECT_EQ(NextThemeIndex(31, false), 0);
    for (int index : {0, 1, 17, 31})
        EXPECT_EQ(NextThemeIndex(index, true), 0) << index;
    // A current index that is out of range never leads out of the list.
    EXPECT_EQ(NextThemeIndex(-7, false), 0);
    EXPECT_EQ(NextThemeIndex(40, false), 0);
}

TEST(ThemeIndex, StoredTextOutsideTheListGivesThePlatformLook)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},  {"0", 0},   {"1", 1},   {"31", 31}, {" 7 ", 7}, {"abc", 0},
        {"-1", 0}, {"32", 0}, {"3.5", 0}, {"1e1", 0}, {"99999999999999", 0},
    };
    for (const auto& [text, index] : cases)
        EXPECT_EQ(ThemeIndexFromSetting(QString::fromLatin1(text)), index) << '"' << text << '"';
}

TEST(ThemeContrast, MatchesTheKnownValues)
{
    EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(Qt::white, Qt::white), 1.0, 1e-9);
    // #777777 on white is the classic "just fails AA" grey; #767676 just passes.
    EXPECT_NEAR(ContrastRatio(QColor("#777777"), Qt::white), 4.48, 0.01);
    EXPECT_GE(ContrastRatio(QColor("#767676"), Qt::white), 4.5);
    EXPECT_NEAR(RelativeLuminance(QColor("#ff0000")), 0.2126, 1e-6);
}

TEST(ThemePalettes, EverySchemeSetsEveryRoleInEveryGroup)
{
    for (int index = 1; index < ThemeCount; ++index) {
        const QPalette p = ThemePalette(index);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (int role = 0; role < QPalette::NColorRoles; ++role)
                EXPECT_TRUE(p.isBrushSet(group, static_cast<QPalette::ColorRole>(role)))
                    << describe(index).toStdString() << " group " << group << " role " << role;
        EXPECT_FALSE(ThemeStyleSheet(index).isEmpty()) << describe(index).toStdString();
    }
    EXPECT_EQ(ThemePalette(0).resolveMask(), 0u);
    EXPECT_TRUE(ThemeStyleSheet(0).isEmpty());
}

TEST(ThemePalettes, TextIsReadableOnItsBackground)
{
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::WindowText, QPalette::Window},        {QPalette::Text, QPalette::Base},
        {QPalette::Text, QPalette::AlternateBase},       {QPalette::ButtonText, QPalette::Button},
        {QPalette::HighlightedText, QPalette::Highlight}, {QPalette::ToolTipText, QPalette::ToolTipBase},
        {QPalette::Link, QPalette::Base},                {QPalette::PlaceholderText, QPalette::Base},
    };
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> disabledPairs[] = {
        {QPalette::WindowText, QPalette::Window},
        {QPalette::Text, QPalette::Base},
        {QPalette::ButtonText, QPalette::Button},
    };
    for (int index = 1; index < ThemeCount; ++index) {
        const QPalette p = ThemePalette(index);
        for (auto group : {QPalette::Active, QPalette::Inactive})
            for (const auto& [fg, bg] : pairs)
                EXPECT_GE(ContrastRatio(p.color(group, fg), p.color(group, bg)), 4.5)
                    << describe(index).toStdString() << " roles " << fg << " on " << bg;
        // Disabled text stays legible but visibly fainter than the enabled text.
        for (const auto& [fg, bg] : disabledPairs) {
            const double enabled = ContrastRatio(p.color(QPalette::Active, fg), p.color(QPalette::Active, bg));
            const double disabled =
                ContrastRatio(p.color(QPalette::Disabled, fg), p.color(QPalette::Disabled, bg));
            EXPECT_GE(disabled, 3.0) << describe(index).toStdString() << " disabled role " << fg;
            EXPECT_GE(enabled / disabled, 1.35) << describe(index).toStdString() << " disabled role " << fg;
        }
    }
}

TEST(ThemePalettes, DarkNamesAreDarkAndLightNamesLight)
{
    const char* dark[] = {"Amakrits", "Aqua Graphite", "Auric", "Carbon", "Charcoal Dark Slate",
                          "Cobalt XEMedia", "Cyan Dusk", "Cyan Night", "Glossy", "Golden Graphite",
                          "Metropolis UI Black", "Metropolis UI Blue", "Metropolis UI Dark",
                          "Metropolis UI Green", "Obsidian", "Ruby Graphite", "TabletDark"};
    const char* light[] = {"Amethyst Kamri", "Aqua Light Slate", "Emerald Light Slate", "Iceberg Classico",
                           "Lavender Classico", "Light", "Luna", "Sapphire Kamri", "Silver", "Sky",
                           "Slate Classico", "Smokey Quartz Kamri", "Tablet Light", "Turquoise Gray"};
    EXPECT_EQ(std::size(dark) + std::size(light), size_t(ThemeCount - 1));
    for (const char* name : dark) {
        const QPalette p = ThemePalette(ThemeIndexOf(name));
        ASSERT_GT(ThemeIndexOf(name), 0) << name;
        EXPECT_LT(RelativeLuminance(p.color(QPalette::Window)), 0.06) << name;
        EXPECT_LT(RelativeLuminance(p.color(QPalette::Base)), 0.06) << name;
    }
    for (const char* name : light) {
        const QPalette p = ThemePalette(ThemeIndexOf(name));
        ASSERT_GT(ThemeIndexOf(name), 0) << name;
        EXPECT_GT(RelativeLuminance(p.color(QPalette::Window)), 0.55) << name;
        EXPECT_GT(RelativeLuminance(p.color(QPalette::Base)), 0.8) << name;
    }
}

TEST(ThemePalettes, ColouredNamesWearTheirColour)
{
    struct Case
    {
        const char* name;
        QPalette::ColorRole role;
        int hueFrom, hueTo;   // degrees, inclusive; hueFrom > hueTo wraps through red
    };
    const Case cases[] = {
        {"Golden Graphite", QPalette::Highlight, 38, 55},
        {"Auric", QPalette::Highlight, 38, 55},
        {"Ruby Graphite", QPalette::Highlight, 335, 10},
        {"Amethyst Kamri", QPalette::Highlight, 265, 300},
        {"Lavender Classico", QPalette::Highlight, 240, 275},
        {"Emerald Light Slate", QPalette::Highlight, 140, 170},
        {"Sapphire Kamri", QPalette::Highlight, 205, 230},
        {"Sky", QPalette::Window, 190, 215},
        {"Aqua Graphite", QPalette::Highlight, 175, 200},
        {"Cyan Night", QPalette::Highlight, 180, 195},
        {"Turquoise Gray", QPalette::Highlight, 170, 190},
        {"Metropolis UI Green", QPalette::Window, 120, 150},
        {"Metropolis UI Blue", QPalette::Window, 205, 225},
        {"Cobalt XEMedia", QPalette::Highlight, 210, 230},
    };
    for (const Case& c : cases) {
        const QColor color = ThemePalette(ThemeIndexOf(c.name)).color(c.role);
        const int hue = color.hsvHue();
        const bool inRange = c.hueFrom <= c.hueTo ? hue >= c.hueFrom && hue <= c.hueTo
                                                  : hue >= c.hueFrom || hue <= c.hueTo;
        EXPECT_TRUE(inRange) << c.name << ": " << color.name().toStdString() << " hue " << hue;
        EXPECT_GT(color.hsvSaturationF(), 0.2) << c.name;
    }
    // Gold and ruby on graphite: a neutral grey window.
    for (const char* name : {"Golden Graphite", "Ruby Graphite"})
        EXPECT_LT(ThemePalette(ThemeIndexOf(name)).color(QPalette::Window).hsvSaturationF(), 0.05) << name;
}

TEST(ThemePalettes, AllSchemesAreDistinct)
{
    std::set<std::tuple<QRgb, QRgb, QRgb>> seen;
    for (int index = 1; index < ThemeCount; ++index) {
        const QPalette p = ThemePalette(index);
        const auto key = std::make_tuple(p.color(QPalette::Window).rgb(), p.color(QPalette::Button).rgb(),
                                         p.color(QPalette::Highlight).rgb());
        EXPECT_TRUE(seen.insert(key).second) << describe(index).toStdString() << " repeats an earlier scheme";
    }
}

TEST(ApplyTheme, SetsStylePaletteAndSheetOnTheWholeApplication)
{
    const QPalette original = QApplication::palette();
    const QString originalStyle = QApplication::style()->name();
    QWidget openBefore;
    QLabel label("Total", &openBefore);

    const int golden = ThemeIndexOf("Golden Graphite");
    ApplyTheme(golden);
    QCoreApplication::processEvents();
    const QPalette expected = ThemePalette(golden);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto r = static_cast<QPalette::ColorRole>(role);
            EXPECT_EQ(QApplication::palette().color(group, r), expected.color(group, r))
                << "group " << group << " role " << role;
        }
    EXPECT_EQ(qApp->styleSheet(), ThemeStyleSheet(golden));
    // Windows already open follow, and so do new ones.
    EXPECT_EQ(openBefore.palette().color(QPalette::Window), expected.color(QPalette::Window));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), expected.color(QPalette::WindowText));
    QWidget openAfter;
    EXPECT_EQ(openAfter.palette().color(QPalette::Window), expected.color(QPalette::Window));

    const int sky = ThemeIndexOf("Sky");
    ApplyTheme(sky);
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), ThemePalette(sky).color(QPalette::Window));
    EXPECT_EQ(openBefore.palette().color(QPalette::Window), ThemePalette(sky).color(QPalette::Window));
    EXPECT_EQ(qApp->styleSheet(), ThemeStyleSheet(sky));

    // Back to the platform look: its own palette, no sheet.
    ApplyTheme(0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(QApplication::style()->name(), originalStyle);
    for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Highlight})
        EXPECT_EQ(QApplication::palette().color(role), original.color(role)) << "role " << role;
    EXPECT_EQ(openBefore.palette().color(QPalette::Window), original.color(QPalette::Window));
}

TEST(ThemeApply, WindowsLookAfterASchemeGivesWidgetsTheirPlatformColours)
{
    ApplyTheme(ThemeIndexOf(QStringLiteral("Amakrits")));
    QWidget window;
    auto* label = new QLabel(QStringLiteral("GRAND TOTAL:"), &window);
    auto* list = new QTreeWidget(&window);
    ApplyTheme(0);
    window.show();
    QCoreApplication::processEvents();
    const QPalette expected = QApplication::style()->standardPalette();
    EXPECT_EQ(label->palette().color(QPalette::WindowText), expected.color(QPalette::WindowText));
    EXPECT_EQ(list->palette().color(QPalette::Base), expected.color(QPalette::Base));
    EXPECT_GE(ContrastRatio(label->palette().color(QPalette::WindowText), window.palette().color(QPalette::Window)), 4.5);
}
