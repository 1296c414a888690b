// What the window remembers, kept in the registry under a key of the test's own.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "rule_file.h"
#include "terminal_settings.h"

namespace {

// HKEY_CURRENT_USER\Software\Vornak\DebugTerminalTest-<process>, deleted before and after.
class TestKey {
public:
    TestKey() : path_(L"Software\\Vornak\\DebugTerminalTest-" + std::to_wstring(GetCurrentProcessId())) { Delete(); }
    ~TestKey() { Delete(); }
    const std::wstring& Path() const { return path_; }

    void SetDword(const wchar_t* name, DWORD value) const
    {
        HKEY key = Create();
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
        RegCloseKey(key);
    }
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) const
    {
        HKEY key = Create();
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    void SetString(const wchar_t* name, const std::wstring& value) const
    {
        SetRaw(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

private:
    HKEY Create() const
    {
        HKEY key = NULL;
        RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL);
        return key;
    }
    void Delete() const { RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str()); }

    std::wstring path_;
};

TerminalSettings Loaded(const TestKey& key, std::vector<std::string>* problems = nullptr)
{
    TerminalSettings settings;
    LoadTerminalSettings(key.Path(), &settings, problems);
    return settings;
}

TerminalSettings Customised()
{
    TerminalSettings settings;
    settings.placement = {true, -1200, 40, 900, 520, true};
    settings.columnWidths[0] = 144;
    settings.columnWidths[1] = 114;
    settings.columnWidths[2] = 960;
    settings.columnDpi = 144;
    settings.timeMode = TimeMode::SincePrevious;
    settings.shownClasses.shown[static_cast<int>(LineClass::Debug)] = false;
    std::string error;
    EXPECT_TRUE(ParseRuleText("exclude class=debug regex '^idle \\d+$'\nhighlight #FFC0C0 'caf\xC3\xA9'\n",
                              &settings.rules, &error))
        << error;
    settings.alwaysOnTop = true;
    settings.showDates = true;
    settings.showToolbar = false;
    settings.listFont = {"Lucida Console", 14, 700, true};
    settings.zoomPoints = 18;
    settings.theme = ThemeChoice::Dark;
    return settings;
}

TEST(TerminalSettings, WithoutAKeyEverySettingHasItsDefault)
{
    TestKey key;
    std::vector<std::string> problems;
    EXPECT_TRUE(Loaded(key, &problems) == TerminalSettings());
    EXPECT_TRUE(problems.empty());
}

TEST(TerminalSettings, WhatIsSavedComesBackAtTheNextStart)
{
    TestKey key;
    std::string error;
    ASSERT_TRUE(SaveTerminalSettings(key.Path(), Customised(), &error)) << error;
    std::vector<std::string> problems;
    EXPECT_TRUE(Loaded(key, &problems) == Customised());
    EXPECT_TRUE(problems.empty());
}

TEST(TerminalSettings, SavingDefaultsAfterCustomSettingsForgetsThePlacementAndWidths)
{
    TestKey key;
    std::string error;
    ASSERT_TRUE(SaveTerminalSettings(key.Path(), Customised(), &error));
    ASSERT_TRUE(SaveTerminalSettings(key.Path(), TerminalSettings(), &error));
    EXPECT_TRUE(Loaded(key) == TerminalSettings());
}

TEST(TerminalSettings, DamagedValuesFallBackToTheirDefaultsOneByOneAndAreReported)
{
    TestKey key;
    std::string error;
    ASSERT_TRUE(SaveTerminalSettings(key.Path(), Customised(), &error));
    key.SetDword(L"WindowWidth", 5);                    // too small: the placement goes whole
    key.SetString(L"ColumnText", L"960");               // a string where a number belongs
    key.SetString(L"TimeMode", L"sideways");
    key.SetString(L"ShownClasses", L"debug,warnings");
    key.SetDword(L"AlwaysOnTop", 7);
    const BYTE shortData[2] = {1, 2};
    key.SetRaw(L"ColumnDpi", REG_DWORD, shortData, 0);  // a number without its bytes
    key.SetString(L"FontFace", std::wstring(32, L'f'));  // longer than a font's name can be
    key.SetDword(L"FontZoomPoints", 49);                 // the chosen size stays
    key.SetString(L"Theme", L"dim");
    std::vector<std::string> problems;
    TerminalSettings settings = Loaded(key, &problems);
    EXPECT_FALSE(settings.placement.known);
    EXPECT_EQ(144, settings.columnWidths[0]);
    EXPECT_EQ(0, settings.columnWidths[2]);
    EXPECT_EQ(96u, settings.columnDpi);
    EXPECT_EQ(TimeMode::Clock, settings.timeMode);
    EXPECT_TRUE(settings.shownClasses.shown[static_cast<int>(LineClass::Debug)]);
    EXPECT_FALSE(settings.alwaysOnTop);
    EXPECT_EQ(Customised().rules, settings.rules);
    EXPECT_TRUE((ListFontSetting{"Consolas", 14, 700, true}) == settings.listFont);
    EXPECT_EQ(14, settings.zoomPoints);
    EXPECT_EQ(ThemeChoice::System, settings.theme);
    EXPECT_EQ((std::vector<std::string>{
                  "the setting WindowWidth was not usable and its default is used",
                  "the setting ColumnDpi was not usable and its default is used",
                  "the setting ColumnText was not usable and its default is used",
                  "the setting TimeMode was not usable and its default is used",
                  "the setting ShownClasses was not usable and its default is used",
                  "the setting AlwaysOnTop was not usable and its default is used",
                  "the setting FontFace was not usable and its default is used",
                  "the setting FontZoomPoints was not usable and its default is used",
                  "the setting Theme was not usable and its default is used",
              }),
              problems);
}

TEST(TerminalSettings, DamagedRulesStartTheTerminalWithoutRulesAndSayWhy)
{
    TestKey key;
    key.SetString(L"Rules", L"include 'ok'\r\nexclude 'unclosed\r\n");
    std::vector<std::string> problems;
    EXPECT_TRUE(Loaded(key, &problems).rules.empty());
    EXPECT_EQ((std::vector<std::string>{"the saved rules could not be read (line 2: the quote that opens at column 9 "
                                        "is not closed); the terminal starts without rules"}),
              problems);
}

TEST(TerminalSettings, StringsStoredWithoutTheirNullOrAsBinaryAreHandled)
{
    TestKey key;
    const wchar_t noNull[] = {L's', L'i', L'n', L'c', L'e', L'-', L's', L't', L'a', L'r', L't'};
    key.SetRaw(L"TimeMode", REG_SZ, noNull, sizeof(noNull));
    const BYTE odd[3] = {'a', 0, 'b'};
    key.SetRaw(L"ShownClasses", REG_SZ, odd, sizeof(odd));
    key.SetRaw(L"Rules", REG_BINARY, odd, sizeof(odd));
    std::vector<std::string> problems;
    TerminalSettings settings = Loaded(key, &problems);
    EXPECT_EQ(TimeMode::SinceStart, settings.timeMode);
    EXPECT_EQ(2u, problems.size());
}

TEST(TerminalSettings, AKeyThatCannotBeCreatedIsReported)
{
    std::string error;
    // A key name holds at most 255 characters.
    EXPECT_FALSE(SaveTerminalSettings(L"Software\\Vornak\\" + std::wstring(300, L'k'), TerminalSettings(), &error));
    EXPECT_EQ(0u, error.find("cannot save the settings: error ")) << error;
}

} // namespace
