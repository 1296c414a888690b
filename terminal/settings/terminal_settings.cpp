#include "terminal_settings.h"

#include <windows.h>

#include "ascii_text.h"
#include "line_text.h"
#include "rule_file.h"
#include "system_error_text.h"
#include "terminal_texts.h"
#include "wide_text.h"

namespace {

// The most text a string value is read with: a rule set of 1000 long rules fits.
constexpr DWORD MaxStringValueBytes = 16u << 20;
constexpr unsigned MinDpi = 48;
constexpr unsigned MaxDpi = 960;

// The values' names in the registry.
constexpr wchar_t WindowLeftValue[] = L"WindowLeft";
constexpr wchar_t WindowTopValue[] = L"WindowTop";
constexpr wchar_t WindowWidthValue[] = L"WindowWidth";
constexpr wchar_t WindowHeightValue[] = L"WindowHeight";
constexpr wchar_t WindowMaximizedValue[] = L"WindowMaximized";
const wchar_t* const PlacementValueNames[] = {WindowLeftValue, WindowTopValue, WindowWidthValue, WindowHeightValue,
                                              WindowMaximizedValue};
const wchar_t* const ColumnValueNames[ListColumnCount] = {L"ColumnTime", L"ColumnClass", L"ColumnText", L"ColumnProcess"};
constexpr wchar_t ColumnDpiValue[] = L"ColumnDpi";
constexpr wchar_t TimeModeValue[] = L"TimeMode";
constexpr wchar_t ShownClassesValue[] = L"ShownClasses";
constexpr wchar_t RulesValue[] = L"Rules";
constexpr wchar_t AlwaysOnTopValue[] = L"AlwaysOnTop";
constexpr wchar_t ShowDatesValue[] = L"ShowDates";
constexpr wchar_t FindMatchCaseValue[] = L"FindMatchCase";
constexpr wchar_t FindRegularExpressionValue[] = L"FindRegularExpression";
constexpr wchar_t CaptureOdsValue[] = L"CaptureOutputDebugString";
constexpr wchar_t ToolbarValue[] = L"Toolbar";
constexpr wchar_t HistoryLinesValue[] = L"HistoryLines";
constexpr wchar_t HistoryMegabytesValue[] = L"HistoryMegabytes";
constexpr wchar_t FontFaceValue[] = L"FontFace";
constexpr wchar_t FontPointsValue[] = L"FontPoints";
constexpr wchar_t FontWeightValue[] = L"FontWeight";
constexpr wchar_t FontItalicValue[] = L"FontItalic";
constexpr wchar_t FontZoomPointsValue[] = L"FontZoomPoints";
constexpr wchar_t ThemeValue[] = L"Theme";
// The themes by name, in ThemeChoice order.
const char* const ThemeNames[] = {"system", "light", "dark"};

class SettingsReader {
public:
    SettingsReader(HKEY key, std::vector<std::string>* problems) : key_(key), problems_(problems) {}

    void Damaged(const wchar_t* name)
    {
        if (problems_ != nullptr) {
            problems_->push_back(FillText(SettingDamaged, {ShownAscii(name)}));
        }
    }

    // False when the value is missing (nothing said) or unusable (reported).
    bool Dword(const wchar_t* name, DWORD* value)
    {
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof(data);
        LONG status = RegQueryValueExW(key_, name, NULL, &type, reinterpret_cast<BYTE*>(&data), &size);
        if (status == ERROR_FILE_NOT_FOUND) {
            return false;
        }
        if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) {
            Damaged(name);
            return false;
        }
        *value = data;
        return true;
    }

    bool Int(const wchar_t* name, int low, int high, int* value)
    {
        DWORD data = 0;
        if (!Dword(name, &data)) {
            return false;
        }
        int signedValue = static_cast<int>(static_cast<int32_t>(data));
        if (signedValue < low || signedValue > high) {
            Damaged(name);
            return false;
        }
        *value = signedValue;
        return true;
    }

    bool Flag(const wchar_t* name, bool* value)
    {
        int data = 0;
        if (!Int(name, 0, 1, &data)) {
            return false;
        }
        *value = data == 1;
        return true;
    }

    // A REG_SZ value as UTF-8.
    bool String(const wchar_t* name, std::string* value)
    {
        DWORD type = 0;
        DWORD size = 0;
        LONG status = RegQueryValueExW(key_, name, NULL, &type, NULL, &size);
        if (status == ERROR_FILE_NOT_FOUND) {
            return false;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ || size > MaxStringValueBytes || size % sizeof(wchar_t) != 0) {
            Damaged(name);
            return false;
        }
        std::wstring wide(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
        status = RegQueryValueExW(key_, name, NULL, &type, reinterpret_cast<BYTE*>(&wide[0]), &got);
        if (status != ERROR_SUCCESS || type != REG_SZ || got > wide.size() * sizeof(wchar_t)) {
            Damaged(name);  // changed under us, or grew: taken as unusable
            return false;
        }
        wide.resize(got / sizeof(wchar_t));
        while (!wide.empty() && wide.back() == L'\0') {
            wide.pop_back();  // the terminating null, if it was stored (it need not be)
        }
        *value = WideToUtf8(wide);
        if (value->empty() && !wide.empty()) {
            Damaged(name);
            return false;
        }
        return true;
    }

private:
    HKEY key_;
    std::vector<std::string>* problems_;
};

bool ParseShownClasses(const std::string& text, ClassFilter* filter)
{
    ClassFilter parsed;
    for (bool& shown : parsed.shown) {
        shown = false;
    }
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        std::string name = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!name.empty()) {
            LineClass lineClass = LineClass::Debug;
            if (!ClassOfLabel(name, &lineClass) || static_cast<int>(lineClass) >= ShownClassCount) {
                return false;
            }
            parsed.shown[static_cast<int>(lineClass)] = true;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    *filter = parsed;
    return true;
}

std::string ShownClassesText(const ClassFilter& filter)
{
    std::string out;
    for (int i = 0; i < ShownClassCount; ++i) {
        if (filter.shown[i]) {
            if (!out.empty()) {
                out += ',';
            }
            out += ClassLabel(static_cast<LineClass>(i));
        }
    }
    return out;
}

bool ThemeNamed(const std::string& name, ThemeChoice* theme)
{
    for (size_t i = 0; i < sizeof(ThemeNames) / sizeof(ThemeNames[0]); ++i) {
        if (name == ThemeNames[i]) {
            *theme = static_cast<ThemeChoice>(i);
            return true;
        }
    }
    return false;
}

// The font's values; a face that is empty or longer than a font's name can be is unusable.
void ReadListFont(SettingsReader& reader, TerminalSettings* settings)
{
    std::string face;
    if (reader.String(FontFaceValue, &face)) {
        if (face.empty() || Utf8ToWide(face).size() > MaxFontFaceLength) {
            reader.Damaged(FontFaceValue);
        } else {
            settings->listFont.face = face;
        }
    }
    reader.Int(FontPointsValue, MinFontPoints, MaxFontPoints, &settings->listFont.points);
    reader.Int(FontWeightValue, 1, MaxFontWeight, &settings->listFont.weight);
    reader.Flag(FontItalicValue, &settings->listFont.italic);
    settings->zoomPoints = settings->listFont.points;
    reader.Int(FontZoomPointsValue, MinFontPoints, MaxFontPoints, &settings->zoomPoints);
}

LONG SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG SetString(HKEY key, const wchar_t* name, const std::string& utf8)
{
    std::wstring wide = Utf8ToWide(utf8);
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                          static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

} // namespace

bool TerminalSettings::operator==(const TerminalSettings& other) const
{
    for (int i = 0; i < ShownClassCount; ++i) {
        if (shownClasses.shown[i] != other.shownClasses.shown[i]) {
            return false;
        }
    }
    for (int i = 0; i < ListColumnCount; ++i) {
        if (columnWidths[i] != other.columnWidths[i]) {
            return false;
        }
    }
    return placement.known == other.placement.known && placement.left == other.placement.left &&
           placement.top == other.placement.top && placement.width == other.placement.width &&
           placement.height == other.placement.height && placement.maximized == other.placement.maximized &&
           columnDpi == other.columnDpi && timeMode == other.timeMode && rules == other.rules &&
           alwaysOnTop == other.alwaysOnTop && showDates == other.showDates && captureOds == other.captureOds &&
           findMatchCase == other.findMatchCase && findRegularExpression == other.findRegularExpression &&
           showToolbar == other.showToolbar &&
           historyLines == other.historyLines && historyMegabytes == other.historyMegabytes &&
           listFont == other.listFont && zoomPoints == other.zoomPoints && theme == other.theme;
}

void LoadTerminalSettings(const std::wstring& keyPath, TerminalSettings* settings, std::vector<std::string>* problems)
{
    *settings = TerminalSettings();
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    SettingsReader reader(key, problems);

    // The placement counts only whole: a window with half a place is placed by the system.
    WindowPlacementSetting placement;
    bool left = reader.Int(WindowLeftValue, -MaxCoordinate, MaxCoordinate, &placement.left);
    bool top = reader.Int(WindowTopValue, -MaxCoordinate, MaxCoordinate, &placement.top);
    bool width = reader.Int(WindowWidthValue, MinWindowSize, MaxCoordinate, &placement.width);
    bool height = reader.Int(WindowHeightValue, MinWindowSize, MaxCoordinate, &placement.height);
    reader.Flag(WindowMaximizedValue, &placement.maximized);
    if (left && top && width && height) {
        placement.known = true;
        settings->placement = placement;
    }

    int dpi = 0;
    if (reader.Int(ColumnDpiValue, static_cast<int>(MinDpi), static_cast<int>(MaxDpi), &dpi)) {
        settings->columnDpi = static_cast<unsigned>(dpi);
    }
    for (int i = 0; i < ListColumnCount; ++i) {
        reader.Int(ColumnValueNames[i], 1, MaxColumnWidth, &settings->columnWidths[i]);
    }

    std::string text;
    if (reader.String(TimeModeValue, &text) && !TimeModeNamed(text, &settings->timeMode)) {
        reader.Damaged(TimeModeValue);
    }
    if (reader.String(ShownClassesValue, &text) && !ParseShownClasses(text, &settings->shownClasses)) {
        reader.Damaged(ShownClassesValue);
    }
    if (reader.String(RulesValue, &text)) {
        std::string why;
        if (!ParseRuleText(text, &settings->rules, &why) && problems != nullptr) {
            problems->push_back(FillText(SettingRulesDamaged, {why}));
        }
    }
    reader.Flag(AlwaysOnTopValue, &settings->alwaysOnTop);
    reader.Flag(ShowDatesValue, &settings->showDates);
    reader.Flag(FindMatchCaseValue, &settings->findMatchCase);
    reader.Flag(FindRegularExpressionValue, &settings->findRegularExpression);
    reader.Flag(CaptureOdsValue, &settings->captureOds);
    reader.Flag(ToolbarValue, &settings->showToolbar);
    int history = 0;
    if (reader.Int(HistoryLinesValue, static_cast<int>(MinHistoryLines), static_cast<int>(MaxHistoryLines), &history)) {
        settings->historyLines = static_cast<size_t>(history);
    }
    if (reader.Int(HistoryMegabytesValue, static_cast<int>(MinHistoryMegabytes), static_cast<int>(MaxHistoryMegabytes),
                   &history)) {
        settings->historyMegabytes = static_cast<size_t>(history);
    }
    ReadListFont(reader, settings);
    if (reader.String(ThemeValue, &text) && !ThemeNamed(text, &settings->theme)) {
        reader.Damaged(ThemeValue);
    }
    RegCloseKey(key);
}

bool SaveTerminalSettings(const std::wstring& keyPath, const TerminalSettings& settings, std::string* error)
{
    HKEY key = NULL;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, NULL, 0, KEY_SET_VALUE | KEY_QUERY_VALUE,
                                  NULL, &key, NULL);
    if (status != ERROR_SUCCESS) {
        *error = FillText(SettingsCannotSave, {SystemErrorText(static_cast<DWORD>(status))});
        return false;
    }
    const WindowPlacementSetting& placement = settings.placement;
    std::vector<LONG> results;
    if (placement.known) {
        results.push_back(SetDword(key, WindowLeftValue, static_cast<DWORD>(placement.left)));
        results.push_back(SetDword(key, WindowTopValue, static_cast<DWORD>(placement.top)));
        results.push_back(SetDword(key, WindowWidthValue, static_cast<DWORD>(placement.width)));
        results.push_back(SetDword(key, WindowHeightValue, static_cast<DWORD>(placement.height)));
        results.push_back(SetDword(key, WindowMaximizedValue, placement.maximized ? 1 : 0));
    } else {
        for (const wchar_t* name : PlacementValueNames) {
            RegDeleteValueW(key, name);
        }
    }
    results.push_back(SetDword(key, ColumnDpiValue, settings.columnDpi));
    for (int i = 0; i < ListColumnCount; ++i) {
        if (settings.columnWidths[i] > 0) {
            results.push_back(SetDword(key, ColumnValueNames[i], static_cast<DWORD>(settings.columnWidths[i])));
        } else {
            RegDeleteValueW(key, ColumnValueNames[i]);
        }
    }
    results.push_back(SetString(key, TimeModeValue, TimeModeName(settings.timeMode)));
    results.push_back(SetString(key, ShownClassesValue, ShownClassesText(settings.shownClasses)));
    results.push_back(SetString(key, RulesValue, FormatRuleText(settings.rules)));
    results.push_back(SetDword(key, AlwaysOnTopValue, settings.alwaysOnTop ? 1 : 0));
    results.push_back(SetDword(key, ShowDatesValue, settings.showDates ? 1 : 0));
    results.push_back(SetDword(key, FindMatchCaseValue, settings.findMatchCase ? 1 : 0));
    results.push_back(SetDword(key, FindRegularExpressionValue, settings.findRegularExpression ? 1 : 0));
    results.push_back(SetDword(key, CaptureOdsValue, settings.captureOds ? 1 : 0));
    results.push_back(SetDword(key, ToolbarValue, settings.showToolbar ? 1 : 0));
    results.push_back(SetDword(key, HistoryLinesValue, static_cast<DWORD>(settings.historyLines)));
    results.push_back(SetDword(key, HistoryMegabytesValue, static_cast<DWORD>(settings.historyMegabytes)));
    results.push_back(SetString(key, FontFaceValue, settings.listFont.face));
    results.push_back(SetDword(key, FontPointsValue, static_cast<DWORD>(settings.listFont.points)));
    results.push_back(SetDword(key, FontWeightValue, static_cast<DWORD>(settings.listFont.weight)));
    results.push_back(SetDword(key, FontItalicValue, settings.listFont.italic ? 1 : 0));
    results.push_back(SetDword(key, FontZoomPointsValue, static_cast<DWORD>(settings.zoomPoints)));
    results.push_back(SetString(key, ThemeValue, ThemeNames[static_cast<int>(settings.theme)]));
    RegCloseKey(key);
    for (LONG result : results) {
        if (result != ERROR_SUCCESS) {
            *error = FillText(SettingsCannotSave, {SystemErrorText(static_cast<DWORD>(result))});
            return false;
        }
    }
    return true;
}
