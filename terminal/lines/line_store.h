// The lines the window keeps, and which of them the class filter and the judge (the user's rules
// and quick filter) show.
#pragma once

#include <stdint.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "received_line.h"

struct ClassFilter {
    bool shown[ShownClassCount] = {true, true, true, true, true, true};
    bool Shows(LineClass lineClass) const;
};

// What the judge said of a line, kept beside it: judged once when the line is stored and again
// only when the judge changes, never when it is drawn. HiddenByRules hides the line; the other
// bits are the judge's own (a highlight, a stop mark) for whoever draws the line.
using LineMark = uint16_t;
constexpr LineMark HiddenByRules = 0x8000;
// The user's bookmark, not the judge's: a new judge keeps it.
constexpr LineMark BookmarkMark = 0x2000;

constexpr size_t NoShownRow = static_cast<size_t>(-1);

using LineJudge = std::function<LineMark(const StoredLine&)>;

// Keeps at most `capacity` lines in at most `memoryBytes` (MemoryBytes). When a line arrives at a
// full store the oldest `dropBlock` lines go at once: dropping in blocks keeps the rows of the
// list still for a while instead of shifting them under the user's eyes with every new line.
// Texts live in large shared blocks and each line in a fixed record, so that a line costs no heap
// allocation of its own; a text block is freed when no kept line uses it.
class LineStore {
public:
    // What a kept line costs beyond its text, as MemoryBytes counts it: its record and its place
    // among the shown rows.
    static constexpr size_t LineOverheadBytes = 36;
    static constexpr size_t NoMemoryBound = static_cast<size_t>(-1);

    LineStore(size_t capacity, size_t dropBlock, size_t memoryBytes = NoMemoryBound);
    ~LineStore();
    LineStore(LineStore&&);
    LineStore& operator=(LineStore&&);

    // Adds a line (a clear marker clears instead). Returns true when rows already shown moved or
    // vanished, so the view must be redrawn whole rather than only extended.
    bool Append(ReceivedLine&& line);
    bool Append(const StoredLine& line);
    void Clear();
    // New bounds; lines beyond them go at once, oldest first. True when shown rows vanished.
    bool SetLimits(size_t capacity, size_t dropBlock, size_t memoryBytes);
    size_t Capacity() const { return capacity_; }
    size_t MemoryBound() const { return memoryBound_; }
    // What the kept lines cost: LineOverheadBytes and the text of each.
    size_t MemoryBytes() const { return memoryBytes_; }

    void SetFilter(const ClassFilter& filter);
    const ClassFilter& Filter() const { return filter_; }
    // A line of a shown class is shown unless judge marks it HiddenByRules (no judge: every such
    // line). Judges the lines kept now, and those that come as they come.
    void SetJudge(LineJudge judge);
    // The same in slices: lines that come are judged by the new judge at once, the kept ones by
    // JudgeSome, and the rows shown stay those of the old verdicts until FinishJudging.
    void BeginJudging(LineJudge judge);
    // Judges up to `lines` kept lines; true when every kept line is judged.
    bool JudgeSome(size_t lines);
    // Judges what is left and shows the rows of the new verdicts.
    void FinishJudging();
    bool Judging() const { return judging_; }
    // Of the kept lines, how many hundredths are judged.
    unsigned JudgedPercent() const;
    // Every kept line shown, whatever the class filter and the judge say (marks kept).
    void ShowAll(bool all);
    bool ShowsAll() const { return showAll_; }

    size_t ShownCount() const { return shown_.size(); }
    StoredLine ShownLine(size_t row) const { return KeptLine(shown_[row]); }
    LineMark ShownMark(size_t row) const { return KeptMark(shown_[row]); }
    // Where the row-th shown line is among the kept ones (KeptLine's index).
    size_t KeptIndexOfShown(size_t row) const { return shown_[row]; }
    // The last shown row whose line is kept at or before index; NoShownRow when there is none.
    size_t ShownRowAtOrBefore(size_t index) const;
    size_t KeptCount() const { return count_; }
    // The index-th line kept, shown or not, from the oldest.
    StoredLine KeptLine(size_t index) const;
    LineMark KeptMark(size_t index) const;
    // Bookmarks (Ctrl+F2) are kept with their lines, through new filters, until the lines go.
    void ToggleBookmark(size_t index);
    bool Bookmarked(size_t index) const { return (KeptMark(index) & BookmarkMark) != 0; }
    size_t BookmarkCount() const { return bookmarks_; }
    // The nearest shown bookmarked row after `row` (forward) or before it, going on from the other
    // end; `row` itself when it is the only one, NoShownRow when no shown line is bookmarked.
    // NoShownRow as `row`: from before the first row forward, after the last backward.
    size_t NearestBookmarkedRow(size_t row, bool forward) const;
    uint64_t DroppedCount() const { return dropped_; }
    // Of those, the ones that were shown: rows that vanished from the top of the list.
    uint64_t DroppedShownCount() const { return droppedShown_; }

private:
    struct LineRecord {
        int64_t arrivalUtcMs;
        uint32_t arrivalMsOfDay;
        uint32_t textBlock;  // the block's number (firstBlock_ numbers the oldest held)
        uint32_t textOffset;
        uint32_t textLength;
        int16_t utcOffsetMinutes;
        LineClass lineClass;
        LineCarriage carriage;
        LineMark mark;
        uint16_t writer;  // who wrote an ods line: writers_[writer - 1]; 0 for the others
    };
    static_assert(sizeof(LineRecord) == 32, "a record stays as small as it was before it named writers");
    // A process that wrote kept ods lines, shared by their records; a writer no kept line names
    // is forgotten, its number given to the next one.
    struct Writer {
        uint32_t processId = 0;
        std::string name;
        size_t lines = 0;
    };
    struct TextBlock {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        size_t used = 0;
        size_t lines = 0;  // kept lines whose text is here
    };

    LineRecord& Record(size_t index);
    const LineRecord& Record(size_t index) const;
    bool MakeRoomFor(size_t textLength);
    void DropOldest(size_t count);
    void RebuildShown();
    void FreeUnusedBlocks();
    uint32_t StoreText(std::string_view text, uint32_t* offset);
    uint16_t TakeWriter(uint32_t processId, std::string_view name);
    void ReleaseWriter(uint16_t writer);

    bool Shows(LineClass lineClass, LineMark mark) const;
    LineMark Judged(const StoredLine& line) const;

    size_t capacity_;
    size_t dropBlock_;
    size_t memoryBound_;
    size_t memoryBytes_ = 0;
    ClassFilter filter_;
    LineJudge judge_;
    bool showAll_ = false;
    // The records, in chunks of a fixed size: the oldest is chunks_[0][first_].
    std::deque<std::unique_ptr<LineRecord[]>> chunks_;
    size_t first_ = 0;
    size_t count_ = 0;
    // The text blocks, oldest first; firstBlock_ numbers blocks_[0] (records name blocks by number).
    std::deque<TextBlock> blocks_;
    uint32_t firstBlock_ = 0;
    std::deque<Writer> writers_;
    std::vector<uint16_t> freeWriters_;
    std::map<std::pair<uint32_t, std::string>, uint16_t> writerNumbers_;
    // Positions of the lines the filter shows, ascending.
    std::vector<uint32_t> shown_;
    // While judging in slices: the new marks of the oldest judgedMarks_.size() kept lines.
    bool judging_ = false;
    std::vector<LineMark> judgedMarks_;
    uint64_t dropped_ = 0;
    uint64_t droppedShown_ = 0;
    size_t bookmarks_ = 0;
};
