#include "grid/base/theme.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// A registry of its own for each test, in a temporary settings file.
class RegistryFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = std::make_unique<QSettings>(dir.filePath(QStringLiteral("registry.ini")), QSettings::IniFormat);
        SetRegistryStore(store.get());
    }
    void TearDown() override
    {
        delete GetThemeNotifier(nullptr);
        SetRegistryStore(nullptr);
    }
    void SetTheme(const char* version, int value)
    {
        TRegistry reg;
        reg.OpenKey(QStringLiteral("Software\\Microsoft\\Office\\%1\\Common").arg(QLatin1String(version)), true);
        reg.WriteInteger(QStringLiteral("Theme"), value);
        reg.OpenKey(QStringLiteral("Software\\Microsoft\\Office\\%1\\Common\\General").arg(QLatin1String(version)), true);
        reg.WriteString(QStringLiteral("Present"), QStringLiteral("1"));
        store->sync();
    }

    QTemporaryDir dir;
    std::unique_ptr<QSettings> store;
};

// Counts the theme messages a window receives.
class MessageCounter : public QWidget {
public:
    int count = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == TWindowMessageEvent::EventType() &&
            static_cast<TWindowMessageEvent*>(e)->Msg == WM_OFFICETHEMECHANGED) {
            ++count;
            return true;
        }
        return QWidget::event(e);
    }
};
}

TEST_F(RegistryFixture, WithoutOfficeKeysNothingIsDetectedAndTheNotifierIsInert)
{
    EXPECT_EQ(DetectOfficeVersion(), 0);
    EXPECT_EQ(DetectOfficeStyle(), ot2003Classic);
    QWidget owner;
    TThemeNotifier* n = GetThemeNotifier(&owner);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(GetThemeNotifier(nullptr), n);
    EXPECT_EQ(n->RegMonitorThread(), nullptr);
    MessageCounter w;
    n->RegisterWindow(&w);  // no thread: nothing to register with
    EXPECT_EQ(w.count, 0);
}

TEST_F(RegistryFixture, OfficeStyleFollowsTheThemeValue)
{
    struct Case { const char* version; int value; TOfficeTheme style; int officeVersion; } cases[] = {
        {"14.0", 1, ot2010Blue, 2},   {"14.0", 2, ot2010Silver, 2}, {"14.0", 3, ot2010Black, 2},
        {"14.0", 4, ot2003Blue, 2},   {"12.0", 1, ot2007Blue, 1},   {"12.0", 2, ot2007Silver, 1},
        {"12.0", 3, ot2007Black, 1},  {"12.0", 0, ot2003Blue, 1},
    };
    for (const auto& c : cases) {
        store->clear();
        SetTheme(c.version, c.value);
        EXPECT_EQ(DetectOfficeStyle(), c.style) << c.version << " " << c.value;
        EXPECT_EQ(DetectOfficeVersion(), c.officeVersion) << c.version;
    }
    // 2010 answers first: 2007's value is not looked at.
    store->clear();
    SetTheme("12.0", 3);
    SetTheme("14.0", 4);
    EXPECT_EQ(DetectOfficeStyle(), ot2003Blue);
}

TEST_F(RegistryFixture, NotifierWithOfficeSendsTheMessageOnAChange)
{
    SetTheme("14.0", 1);
    QWidget owner;
    TThemeNotifier* n = GetThemeNotifier(&owner);
    ASSERT_NE(n->RegMonitorThread(), nullptr);
    EXPECT_EQ(n->RegMonitorThread()->Key(), QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common"));
    EXPECT_EQ(n->RegMonitorThread()->Filter(), 4);
    int fired = 0;
    n->OnOfficeThemeChange = [&](TObject*) { ++fired; };

    MessageCounter w;
    n->RegisterWindow(&w);
    n->RegisterWindow(&w);
    EXPECT_EQ(n->RegMonitorThread()->WinList().Count(), 1);

    n->RegMonitorThread()->CheckForChange();  // nothing changed yet
    EXPECT_EQ(fired, 0);
    SetTheme("14.0", 3);
    n->RegMonitorThread()->CheckForChange();
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(w.count, 1);

    n->UnRegisterWindow(&w);
    SetTheme("14.0", 2);
    n->RegMonitorThread()->CheckForChange();
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(w.count, 1);
}

TEST_F(RegistryFixture, MonitorOfAMissingKeyReportsIt)
{
    TRegMonitorThread m;
    m.SetKey(QStringLiteral("Software\\Nowhere"));
    EXPECT_FALSE(m.Start());
    EXPECT_EQ(m.ErrorText(), QStringLiteral("Unable to open registry key Software\\Nowhere"));
    EXPECT_EQ(m.Filter(), 15);
}

TEST(ThemeDetection, SchemeOfColourName)
{
    struct Case { const char* name; int scheme; } cases[] = {
        {"", 0}, {"NormalColor", 1}, {"Normal", 1}, {"HomeStead", 2}, {"Metallic", 3}, {"Royale", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(XPThemeSchemeOfColorName(QLatin1String(c.name)), c.scheme) << c.name;
    EXPECT_EQ(GetXPThemeScheme(), 0);
}
