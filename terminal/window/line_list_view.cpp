#include "line_list_view.h"

#include <algorithm>

#include "ansi_text.h"
#include "line_encoding.h"
#include "dpi_scaling.h"
#include "line_text.h"
#include "terminal_texts.h"

namespace {

// By number; the process column is shown before the text (its number came later).
enum Column { TimeColumnIndex, ClassColumn, TextColumn, ProcessColumn };

// Column widths in pixels at 100 %.
constexpr int TimeColumnPixels = 96;
constexpr int ClassColumnPixels = 76;
constexpr int TextColumnPixels = 640;
constexpr int ProcessColumnPixels = 140;
// Separator rows, at 100 %: the time's indent, the rule's margins and the gap of a doubled rule.
constexpr int TimeIndent = 6;
constexpr int RuleMargin = 4;
constexpr int DoubledRuleAbove = 1;
constexpr int DoubledRuleBelow = 2;
// The text's indent in a cell, at 100 %, as the list indents the text it draws.
constexpr int CellTextIndent = 6;
// A bookmark's mark at the row's start, at 100 %.
constexpr int BookmarkMarkWidth = 5;

// Errors and statistics stand out; debug and log lines keep the list's own colours.
bool ColoursOf(LineClass lineClass, const Palette& palette, ClassColours* colours)
{
    switch (lineClass) {
    case LineClass::Error: *colours = palette.error; return true;
    case LineClass::Statistic: *colours = palette.statistic; return true;
    case LineClass::Log: *colours = palette.log; return true;
    case LineClass::Ods: *colours = palette.ods; return true;
    default: return false;
    }
}

// Room for a row's text once converted: 255 characters, each at most four when escaped.
constexpr int DisplayCapacity = 1100;
wchar_t DisplayTextBuffer[DisplayCapacity];

void ToDisplay(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), DisplayTextBuffer,
                                     DisplayCapacity - 1);
    DisplayTextBuffer[length > 0 ? length : 0] = L'\0';
}

COLORREF ColourRef(uint32_t rrggbb)
{
    return ColourOfRrggbb(rrggbb);
}

// "name.exe (1234)", the id alone when the name is unknown; nothing for the library's lines.
std::string ProcessText(const StoredLine& line)
{
    if (line.lineClass != LineClass::Ods) {
        return std::string();
    }
    std::string id = std::to_string(line.processId);
    return line.processName.empty() ? id : std::string(line.processName) + " (" + id + ")";
}

void FillRowText(NMLVDISPINFOW* info, const LineListLook& look)
{
    const LineStore& store = *look.store;
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || static_cast<size_t>(item.iItem) >= store.ShownCount()) {
        return;
    }
    const StoredLine& line = store.ShownLine(static_cast<size_t>(item.iItem));
    switch (item.iSubItem) {
    case TimeColumnIndex: ToDisplay(RowTimeText(look, static_cast<size_t>(item.iItem))); break;
    case ClassColumn: ToDisplay(ClassLabel(line.lineClass)); break;
    case ProcessColumn: ToDisplay(ProcessText(line)); break;
    default: ToDisplay(line.lineClass == LineClass::Separator ? std::string() : DisplayText(line)); break;
    }
    item.pszText = DisplayTextBuffer;
}

// A separator row: its time, then a rule across the rest of the row (doubled for a '=' fill).
void DrawSeparatorRow(const NMLVCUSTOMDRAW* draw, const LineListLook& look)
{
    const LineStore& store = *look.store;
    HWND list = draw->nmcd.hdr.hwndFrom;
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    const StoredLine& line = store.ShownLine(static_cast<size_t>(row));
    HDC dc = draw->nmcd.hdc;
    UINT dpi = DpiOfWindow(list);
    bool selected = ListView_GetItemState(list, row, LVIS_SELECTED) != 0;

    RECT rowRect;
    ListView_GetItemRect(list, row, &rowRect, LVIR_BOUNDS);
    const Palette& palette = *look.palette;
    HBRUSH rowBrush = CreateSolidBrush(selected ? palette.selectionBack : palette.windowBack);
    FillRect(dc, &rowRect, rowBrush);
    DeleteObject(rowBrush);

    RECT timeRect;
    ListView_GetSubItemRect(list, row, TimeColumnIndex, LVIR_LABEL, &timeRect);
    ToDisplay(RowTimeText(look, static_cast<size_t>(row)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? palette.selectionText : palette.separatorTime);
    timeRect.left += ScaledForDpi(TimeIndent, dpi);
    DrawTextW(dc, DisplayTextBuffer, -1, &timeRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);

    RECT classRect;
    ListView_GetSubItemRect(list, row, ClassColumn, LVIR_BOUNDS, &classRect);
    int middle = (rowRect.top + rowRect.bottom) / 2;
    COLORREF ruleColour = selected ? palette.selectionText : palette.separatorRule;
    HPEN pen = CreatePen(PS_SOLID, std::max(1, ScaledForDpi(1, dpi)), ruleColour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    bool doubled = line.text.size() > 0 && line.text[0] == '=';
    int margin = ScaledForDpi(RuleMargin, dpi);
    int above = doubled ? ScaledForDpi(DoubledRuleAbove, dpi) : 0;
    int below = doubled ? ScaledForDpi(DoubledRuleBelow, dpi) : 0;
    for (int offset : {-above, below}) {
        MoveToEx(dc, classRect.left + margin, middle + offset, NULL);
        LineTo(dc, rowRect.right - margin, middle + offset);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// A bar at the start of a bookmarked row, over whatever the row drew.
void DrawBookmarkMark(const NMLVCUSTOMDRAW* draw, const Palette& palette)
{
    HWND list = draw->nmcd.hdr.hwndFrom;
    RECT rect;
    if (!ListView_GetItemRect(list, static_cast<int>(draw->nmcd.dwItemSpec), &rect, LVIR_BOUNDS)) {
        return;
    }
    rect.right = rect.left + ScaledForDpi(BookmarkMarkWidth, DpiOfWindow(list));
    HBRUSH brush = CreateSolidBrush(ColourRef(palette.bookmarkMark));
    FillRect(draw->nmcd.hdc, &rect, brush);
    DeleteObject(brush);
}

bool Found(const LineListLook& look, const StoredLine& line)
{
    return look.finder != nullptr && look.finder->Active() && look.finder->RowMatches(line);
}

// A row's colours where nothing marks it: its class's, else the list's own.
ClassColours PlainColours(LineClass lineClass, const Palette& palette)
{
    ClassColours colours;
    if (!ColoursOf(lineClass, palette, &colours)) {
        colours = {palette.windowText, palette.windowBack};
    }
    return colours;
}

// A highlight's background as the palette shows it, and its text: the rule's text colour when it
// gives one, else black or white, whichever reads on that background.
void HighlightColours(const Palette& palette, const LineVerdict& verdict, uint32_t* back, uint32_t* text)
{
    *back = HighlightBackground(palette, verdict.colour);
    *text = verdict.textColourGiven ? verdict.textColour : ContrastingTextColour(*back);
}

// What marks parts of a row's text: the matches of a search, or of a highlight that marks only
// what it matched.
struct TextMarks {
    std::vector<MatchSpan> spans;  // in the shown text's bytes
    uint32_t colour = 0;           // 0xRRGGBB
    uint32_t textColour = 0;
};

// The text cell drawn whole: the cell in back and fore (the selection's when selected), and each
// marked part of the text on its own colour, which stands out from both.
void DrawMarkedText(const NMLVCUSTOMDRAW* draw, const Palette& palette, std::string_view text, COLORREF back,
                    COLORREF fore, const TextMarks& marks)
{
    HWND list = draw->nmcd.hdr.hwndFrom;
    int row = static_cast<int>(draw->nmcd.dwItemSpec);
    HDC dc = draw->nmcd.hdc;
    if (ListView_GetItemState(list, row, LVIS_SELECTED) != 0) {
        bool focused = GetFocus() == list;
        back = focused ? palette.selectionBack : palette.inactiveSelectionBack;
        fore = focused ? palette.selectionText : palette.inactiveSelectionText;
    }
    RECT cell;
    ListView_GetSubItemRect(list, row, TextColumn, LVIR_BOUNDS, &cell);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &cell, brush);
    DeleteObject(brush);

    ToDisplay(std::string(text));
    size_t length = wcslen(DisplayTextBuffer);
    std::vector<MatchSpan> spans = WideSpans(text, marks.spans);
    int x = cell.left + ScaledForDpi(CellTextIndent, DpiOfWindow(list));
    SetBkMode(dc, OPAQUE);
    auto piece = [&](size_t from, size_t to, bool marked) {
        to = std::min(to, length);
        if (to <= from) {
            return;
        }
        SetBkColor(dc, marked ? ColourRef(marks.colour) : back);
        SetTextColor(dc, marked ? ColourRef(marks.textColour) : fore);
        SIZE size = {};
        GetTextExtentPoint32W(dc, DisplayTextBuffer + from, static_cast<int>(to - from), &size);
        ExtTextOutW(dc, x, cell.top + (cell.bottom - cell.top - size.cy) / 2, ETO_CLIPPED, &cell,
                    DisplayTextBuffer + from, static_cast<UINT>(to - from), NULL);
        x += size.cx;
    };
    size_t at = 0;
    for (const MatchSpan& span : spans) {
        piece(at, span.begin, false);
        piece(std::max(at, span.begin), span.end, true);
        at = std::max(at, span.end);
    }
    piece(at, length, false);
}

// A found row's text cell: the row's mark behind it, each match on a stronger mark of its own,
// the matches of the row the search went to on another again.
void DrawFoundText(const NMLVCUSTOMDRAW* draw, const LineListLook& look, size_t row, const StoredLine& line)
{
    const LineStore& store = *look.store;
    const Palette& palette = *look.palette;
    std::string scratch;
    std::string_view text = MatchedText(line, &scratch);
    bool current = look.currentFoundLine == store.DroppedCount() + store.KeptIndexOfShown(row);
    TextMarks marks;
    marks.spans = look.finder->Marks(text);
    marks.colour = current ? palette.findCurrentMatch : palette.findMatch;
    marks.textColour = ContrastingTextColour(marks.colour);
    DrawMarkedText(draw, palette, text, ColourRef(palette.findRowMark),
                   ColourRef(ContrastingTextColour(palette.findRowMark)), marks);
}

// A row a highlight marks only where it matched: the row in its class's colours.
void DrawHighlightedText(const NMLVCUSTOMDRAW* draw, const LineListLook& look, size_t row, const StoredLine& line)
{
    LineMark mark = look.store->ShownMark(row);
    LineVerdict verdict = look.rules->VerdictOf(mark);
    std::string scratch;
    std::string_view text = MatchedText(line, &scratch);
    TextMarks marks;
    marks.spans = look.rules->HighlightSpans(mark, text);
    HighlightColours(*look.palette, verdict, &marks.colour, &marks.textColour);
    ClassColours plain = PlainColours(line.lineClass, *look.palette);
    DrawMarkedText(draw, *look.palette, text, plain.background, plain.text, marks);
}

// In the dark theme the list would draw a selected row's cells in the system's light selection
// colours: they take the palette's instead, the list told the row is not selected.
void TakeSelection(NMLVCUSTOMDRAW* draw, const Palette& palette)
{
    HWND list = draw->nmcd.hdr.hwndFrom;
    if (!palette.dark || ListView_GetItemState(list, static_cast<int>(draw->nmcd.dwItemSpec), LVIS_SELECTED) == 0) {
        return;
    }
    bool focused = GetFocus() == list;
    draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
    draw->clrText = focused ? palette.selectionText : palette.inactiveSelectionText;
    draw->clrTextBk = focused ? palette.selectionBack : palette.inactiveSelectionBack;
}

// A highlight that marks only what it matched: the row's other cells keep the class's colours.
bool MarksOnlyMatches(const LineListLook& look, size_t row)
{
    if (look.rules == nullptr) {
        return false;
    }
    LineVerdict verdict = look.rules->VerdictOf(look.store->ShownMark(row));
    return verdict.highlighted && verdict.matchedOnly;
}

LRESULT CustomDraw(NMLVCUSTOMDRAW* draw, const LineListLook& look)
{
    const LineStore& store = *look.store;
    const Palette& palette = *look.palette;
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        size_t row = static_cast<size_t>(draw->nmcd.dwItemSpec);
        if (row >= store.ShownCount()) {
            return CDRF_DODEFAULT;
        }
        const StoredLine& line = store.ShownLine(row);
        bool bookmarked = (store.ShownMark(row) & BookmarkMark) != 0;
        if (line.lineClass == LineClass::Separator) {
            DrawSeparatorRow(draw, look);
            if (bookmarked) {
                DrawBookmarkMark(draw, palette);
            }
            return CDRF_SKIPDEFAULT;
        }
        LRESULT then = bookmarked ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
        // A found row stands out most, then a highlight rule's colour, then the class's.
        if (Found(look, line)) {
            draw->clrText = ColourRef(ContrastingTextColour(palette.findRowMark));
            draw->clrTextBk = ColourRef(palette.findRowMark);
            TakeSelection(draw, palette);
            return CDRF_NOTIFYSUBITEMDRAW | then;  // its text cell marks the matches
        }
        LineVerdict verdict;
        if (look.rules != nullptr) {
            verdict = look.rules->VerdictOf(store.ShownMark(row));
        }
        if (verdict.highlighted && !verdict.matchedOnly) {
            uint32_t back = 0;
            uint32_t text = 0;
            HighlightColours(palette, verdict, &back, &text);
            draw->clrText = ColourRef(text);
            draw->clrTextBk = ColourRef(back);
            TakeSelection(draw, palette);
            return then;
        }
        ClassColours colours;
        if (ColoursOf(line.lineClass, palette, &colours)) {
            draw->clrText = colours.text;
            draw->clrTextBk = colours.background;
        }
        TakeSelection(draw, palette);
        return verdict.highlighted ? CDRF_NOTIFYSUBITEMDRAW | then : then;  // its text cell marks the matches
    }
    case CDDS_ITEMPOSTPAINT:
        DrawBookmarkMark(draw, palette);
        return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        // Only found rows, and rows a highlight marks where it matched, ask for their cells.
        size_t row = static_cast<size_t>(draw->nmcd.dwItemSpec);
        if (row >= store.ShownCount()) {
            return CDRF_DODEFAULT;
        }
        const StoredLine& line = store.ShownLine(row);
        if (Found(look, line)) {
            if (draw->iSubItem == TextColumn) {
                DrawFoundText(draw, look, row, line);
                return CDRF_SKIPDEFAULT;
            }
            draw->clrText = ColourRef(ContrastingTextColour(palette.findRowMark));
            draw->clrTextBk = ColourRef(palette.findRowMark);
        } else if (MarksOnlyMatches(look, row)) {
            if (draw->iSubItem == TextColumn) {
                DrawHighlightedText(draw, look, row, line);
                return CDRF_SKIPDEFAULT;
            }
            ClassColours plain = PlainColours(line.lineClass, palette);
            draw->clrText = plain.text;
            draw->clrTextBk = plain.background;
        }
        TakeSelection(draw, palette);
        return CDRF_DODEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

// Type-ahead: the next shown row after find.iStart (wrapping when asked) whose text column
// starts with what was typed, whatever the case, or holds just that without LVFI_PARTIAL; -1 when none.
int FindTypedRow(const NMLVFINDITEMW& find, const LineStore& store)
{
    const LVFINDINFOW& info = find.lvfi;
    size_t count = store.ShownCount();
    if ((info.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info.psz == NULL || count == 0) {
        return -1;
    }
    int typed = lstrlenW(info.psz);
    bool whole = (info.flags & LVFI_PARTIAL) == 0;
    size_t first = find.iStart < 0 ? 0 : static_cast<size_t>(find.iStart) + 1;
    size_t tries = (info.flags & LVFI_WRAP) != 0 ? count : (first < count ? count - first : 0);
    std::string scratch;
    for (size_t step = 0; step < tries; ++step) {
        size_t row = (first + step) % count;
        const StoredLine& line = store.ShownLine(row);
        if (line.lineClass == LineClass::Separator) {
            continue;  // its text column is empty
        }
        ToDisplay(std::string(MatchedText(line, &scratch)));
        int length = lstrlenW(DisplayTextBuffer);
        if ((whole ? length == typed : length >= typed) &&
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, DisplayTextBuffer, typed, info.psz, typed) ==
                CSTR_EQUAL) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void AddColumn(HWND list, int index, const wchar_t* title, int width)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

} // namespace

HWND CreateLineList(HWND parent, int controlId, HINSTANCE instance, UINT dpi)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                                0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                                instance, NULL);
    if (list == NULL) {
        return NULL;
    }
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    AddColumn(list, TimeColumnIndex, TimeOfDayColumnTitle, ScaledForDpi(TimeColumnPixels, dpi));
    AddColumn(list, ClassColumn, ClassColumnTitle, ScaledForDpi(ClassColumnPixels, dpi));
    AddColumn(list, TextColumn, TextColumnTitle, ScaledForDpi(TextColumnPixels, dpi));
    AddColumn(list, ProcessColumn, ProcessColumnTitle, ScaledForDpi(ProcessColumnPixels, dpi));
    int order[ListColumnCount] = {TimeColumnIndex, ClassColumn, ProcessColumn, TextColumn};
    ListView_SetColumnOrderArray(list, ListColumnCount, order);
    return list;
}

void ShowTimeColumnTitle(HWND list, const TimeColumn& time)
{
    const wchar_t* title = TimeOfDayColumnTitle;
    if (time.Mode() == TimeMode::SinceStart) {
        title = SinceStartColumnTitle;
    } else if (time.Mode() == TimeMode::SincePrevious) {
        title = SincePreviousColumnTitle;
    } else if (time.ShowsDates()) {
        title = DateAndTimeColumnTitle;
    }
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(title);
    ListView_SetColumn(list, TimeColumnIndex, &column);
}

void RescaleLineListColumns(HWND list, UINT oldDpi, UINT newDpi)
{
    // The text column takes the rest of the window; its owner sizes it.
    for (int column : {TimeColumnIndex, ClassColumn, ProcessColumn}) {
        int width = ListView_GetColumnWidth(list, column);
        ListView_SetColumnWidth(list, column, MulDiv(width, static_cast<int>(newDpi), static_cast<int>(oldDpi)));
    }
}

void ResetLineList(HWND list, const LineStore& store)
{
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(list, static_cast<int>(store.ShownCount()), 0);
    if (store.ShownCount() > 0) {
        ListView_EnsureVisible(list, static_cast<int>(store.ShownCount()) - 1, FALSE);
    }
    InvalidateRect(list, NULL, TRUE);
}

void ExtendLineList(HWND list, const LineStore& store)
{
    int before = ListView_GetItemCount(list);
    int after = static_cast<int>(store.ShownCount());
    if (after != before) {
        ListView_SetItemCountEx(list, after, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    }
}

std::string RowTimeText(const LineListLook& look, size_t row)
{
    const StoredLine& line = look.store->ShownLine(row);
    if (look.time == nullptr) {
        return FormatTimeOfDay(line.arrivalMsOfDay);
    }
    if (row == 0) {
        return look.time->Text(line, nullptr);
    }
    StoredLine previous = look.store->ShownLine(row - 1);
    return look.time->Text(line, &previous);
}

void GetLineListColumnWidths(HWND list, int* widths)
{
    for (int column = 0; column < ListColumnCount; ++column) {
        widths[column] = ListView_GetColumnWidth(list, column);
    }
}

void SetLineListColumnWidths(HWND list, const int* widths)
{
    for (int column = 0; column < ListColumnCount; ++column) {
        if (widths[column] > 0) {
            ListView_SetColumnWidth(list, column, widths[column]);
        }
    }
}

bool HandleLineListNotify(const NMHDR* header, const LineListLook& look, LRESULT* result)
{
    if (header->code == LVN_ODFINDITEMW) {
        // Unanswered, the list would take DefWindowProc's 0 for "row 0" and jump there.
        *result = FindTypedRow(*reinterpret_cast<const NMLVFINDITEMW*>(header), *look.store);
        return true;
    }
    if (header->code == LVN_GETDISPINFOW) {
        FillRowText(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header)), look);
        *result = 0;
        return true;
    }
    if (header->code == NM_CUSTOMDRAW) {
        *result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header)), look);
        return true;
    }
    return false;
}

std::string SelectedLinesText(HWND list, const LineStore& store, bool textOnly)
{
    std::string text;
    for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
        if (static_cast<size_t>(row) < store.ShownCount()) {
            StoredLine line = store.ShownLine(static_cast<size_t>(row));
            text += textOnly ? DisplayText(line) + "\n" : FormatOutputLine(line);
        }
    }
    return text;
}
