#include "line_store.h"

#include <string.h>

#include <algorithm>

namespace {

constexpr size_t ChunkRecords = 4096;
// A record names its writer in 16 bits; a line whose writer finds no number left (as many
// processes as that, all still with lines kept) keeps its text without the writer.
constexpr size_t MostWriters = 0xFFFF;
// Large enough that blocks are few (one a few thousand lines), small enough that the partly used
// ones at both ends of the store cost little.
constexpr size_t TextBlockBytes = 256 * 1024;

} // namespace

static_assert(sizeof(uint32_t) + 32 == LineStore::LineOverheadBytes, "a record and a shown row");

bool ClassFilter::Shows(LineClass lineClass) const
{
    int index = static_cast<int>(lineClass);
    return index < ShownClassCount && shown[index];
}

LineStore::LineStore(size_t capacity, size_t dropBlock, size_t memoryBytes)
    : capacity_(std::max<size_t>(1, capacity)), dropBlock_(std::max<size_t>(1, std::min(dropBlock, capacity_))),
      memoryBound_(memoryBytes)
{
}

LineStore::~LineStore() = default;
LineStore::LineStore(LineStore&&) = default;
LineStore& LineStore::operator=(LineStore&&) = default;

LineStore::LineRecord& LineStore::Record(size_t index)
{
    size_t position = first_ + index;
    return chunks_[position / ChunkRecords][position % ChunkRecords];
}

const LineStore::LineRecord& LineStore::Record(size_t index) const
{
    size_t position = first_ + index;
    return chunks_[position / ChunkRecords][position % ChunkRecords];
}

StoredLine LineStore::KeptLine(size_t index) const
{
    const LineRecord& record = Record(index);
    StoredLine line;
    line.arrivalMsOfDay = record.arrivalMsOfDay;
    line.lineClass = record.lineClass;
    line.carriage = record.carriage;
    line.utcOffsetMinutes = record.utcOffsetMinutes;
    line.arrivalUtcMs = record.arrivalUtcMs;
    if (record.textLength != 0) {
        const TextBlock& block = blocks_[record.textBlock - firstBlock_];
        line.text = std::string_view(block.bytes.get() + record.textOffset, record.textLength);
    }
    if (record.writer != 0) {
        const Writer& writer = writers_[record.writer - 1];
        line.processId = writer.processId;
        line.processName = writer.name;
    }
    return line;
}

LineMark LineStore::KeptMark(size_t index) const
{
    return Record(index).mark;
}

bool LineStore::Append(ReceivedLine&& line)
{
    return Append(StoredLine(line));
}

bool LineStore::Append(const StoredLine& line)
{
    if (line.lineClass == LineClass::ClearMarker) {
        Clear();
        return true;
    }
    bool moved = MakeRoomFor(line.text.size());
    if ((first_ + count_) / ChunkRecords >= chunks_.size()) {
        chunks_.push_back(std::unique_ptr<LineRecord[]>(new LineRecord[ChunkRecords]));
    }
    LineRecord& record = Record(count_);
    record.arrivalUtcMs = line.arrivalUtcMs;
    record.arrivalMsOfDay = line.arrivalMsOfDay;
    record.utcOffsetMinutes = line.utcOffsetMinutes;
    record.lineClass = line.lineClass;
    record.carriage = line.carriage;
    record.textLength = static_cast<uint32_t>(line.text.size());
    record.textOffset = 0;
    record.textBlock = record.textLength != 0 ? StoreText(line.text, &record.textOffset) : 0;
    record.writer = line.lineClass == LineClass::Ods ? TakeWriter(line.processId, line.processName) : 0;
    record.mark = Judged(line);
    if (Shows(record.lineClass, record.mark)) {
        shown_.push_back(static_cast<uint32_t>(count_));
    }
    ++count_;
    memoryBytes_ += LineOverheadBytes + line.text.size();
    return moved;
}

uint32_t LineStore::StoreText(std::string_view text, uint32_t* offset)
{
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < text.size()) {
        TextBlock block;
        block.size = std::max(TextBlockBytes, text.size());
        block.bytes.reset(new char[block.size]);
        blocks_.push_back(std::move(block));
    }
    TextBlock& block = blocks_.back();
    memcpy(block.bytes.get() + block.used, text.data(), text.size());
    *offset = static_cast<uint32_t>(block.used);
    block.used += text.size();
    ++block.lines;
    return firstBlock_ + static_cast<uint32_t>(blocks_.size() - 1);
}

uint16_t LineStore::TakeWriter(uint32_t processId, std::string_view name)
{
    auto key = std::make_pair(processId, std::string(name));
    auto known = writerNumbers_.find(key);
    uint16_t number = 0;
    if (known != writerNumbers_.end()) {
        number = known->second;
    } else if (!freeWriters_.empty()) {
        number = freeWriters_.back();
        freeWriters_.pop_back();
    } else if (writers_.size() < MostWriters) {
        writers_.emplace_back();
        number = static_cast<uint16_t>(writers_.size());
    } else {
        return 0;
    }
    Writer& writer = writers_[number - 1];
    if (writer.lines == 0) {
        writer.processId = processId;
        writer.name = key.second;
        writerNumbers_.emplace(std::move(key), number);
    }
    ++writer.lines;
    return number;
}

void LineStore::ReleaseWriter(uint16_t number)
{
    Writer& writer = writers_[number - 1];
    if (--writer.lines == 0) {
        writerNumbers_.erase(std::make_pair(writer.processId, writer.name));
        freeWriters_.push_back(number);
    }
}

bool LineStore::MakeRoomFor(size_t textLength)
{
    bool moved = false;
    size_t needed = LineOverheadBytes + textLength;
    while (count_ != 0 && (count_ >= capacity_ || memoryBytes_ + needed > memoryBound_)) {
        DropOldest(dropBlock_);
        moved = true;
    }
    return moved;
}

bool LineStore::SetLimits(size_t capacity, size_t dropBlock, size_t memoryBytes)
{
    capacity_ = std::max<size_t>(1, capacity);
    dropBlock_ = std::max<size_t>(1, std::min(dropBlock, capacity_));
    memoryBound_ = memoryBytes;
    uint64_t vanishedBefore = droppedShown_;
    if (count_ > capacity_) {
        DropOldest(count_ - capacity_);
    }
    while (count_ != 0 && memoryBytes_ > memoryBound_) {
        DropOldest(dropBlock_);
    }
    return droppedShown_ != vanishedBefore;
}

void LineStore::Clear()
{
    chunks_.clear();
    blocks_.clear();
    firstBlock_ = 0;
    writers_.clear();
    freeWriters_.clear();
    writerNumbers_.clear();
    first_ = 0;
    count_ = 0;
    memoryBytes_ = 0;
    shown_.clear();
    judgedMarks_.clear();
    bookmarks_ = 0;
}

void LineStore::SetFilter(const ClassFilter& filter)
{
    filter_ = filter;
    RebuildShown();
}

void LineStore::ShowAll(bool all)
{
    showAll_ = all;
    RebuildShown();
}

void LineStore::SetJudge(LineJudge judge)
{
    BeginJudging(std::move(judge));
    FinishJudging();
}

void LineStore::BeginJudging(LineJudge judge)
{
    judge_ = std::move(judge);
    judging_ = true;
    judgedMarks_.clear();
}

bool LineStore::JudgeSome(size_t lines)
{
    if (!judging_) {
        return true;
    }
    for (size_t i = judgedMarks_.size(); i < count_ && lines != 0; ++i, --lines) {
        judgedMarks_.push_back(Judged(KeptLine(i)));
    }
    return judgedMarks_.size() == count_;
}

void LineStore::FinishJudging()
{
    if (!judging_) {
        return;
    }
    JudgeSome(count_);
    for (size_t i = 0; i < count_; ++i) {
        LineMark& mark = Record(i).mark;
        mark = judgedMarks_[i] | (mark & BookmarkMark);
    }
    judging_ = false;
    std::vector<LineMark>().swap(judgedMarks_);
    RebuildShown();
}

unsigned LineStore::JudgedPercent() const
{
    if (!judging_ || count_ == 0) {
        return 100;
    }
    return static_cast<unsigned>(judgedMarks_.size() * 100 / count_);
}

LineMark LineStore::Judged(const StoredLine& line) const
{
    return judge_ ? static_cast<LineMark>(judge_(line) & ~BookmarkMark) : 0;
}

bool LineStore::Shows(LineClass lineClass, LineMark mark) const
{
    return showAll_ || (filter_.Shows(lineClass) && (mark & HiddenByRules) == 0);
}

size_t LineStore::ShownRowAtOrBefore(size_t index) const
{
    auto after = std::upper_bound(shown_.begin(), shown_.end(), index);
    return after == shown_.begin() ? NoShownRow : static_cast<size_t>(after - shown_.begin()) - 1;
}

void LineStore::ToggleBookmark(size_t index)
{
    LineMark& mark = Record(index).mark;
    mark ^= BookmarkMark;
    if ((mark & BookmarkMark) != 0) {
        ++bookmarks_;
    } else {
        --bookmarks_;
    }
}

size_t LineStore::NearestBookmarkedRow(size_t row, bool forward) const
{
    size_t count = shown_.size();
    if (bookmarks_ == 0 || count == 0) {
        return NoShownRow;
    }
    size_t start = row == NoShownRow ? (forward ? count - 1 : 0) : row;
    for (size_t step = 1; step <= count; ++step) {
        size_t at = forward ? (start + step) % count : (start + count - step % count) % count;
        if ((Record(shown_[at]).mark & BookmarkMark) != 0) {
            return at;
        }
    }
    return NoShownRow;
}

void LineStore::DropOldest(size_t count)
{
    count = std::min(count, count_);
    for (size_t i = 0; i < count; ++i) {
        const LineRecord& record = Record(i);
        if (record.textLength != 0) {
            --blocks_[record.textBlock - firstBlock_].lines;
        }
        if (record.writer != 0) {
            ReleaseWriter(record.writer);
        }
        if ((record.mark & BookmarkMark) != 0) {
            --bookmarks_;
        }
        memoryBytes_ -= LineOverheadBytes + record.textLength;
    }
    first_ += count;
    count_ -= count;
    while (first_ >= ChunkRecords) {
        chunks_.pop_front();
        first_ -= ChunkRecords;
    }
    FreeUnusedBlocks();
    dropped_ += count;
    if (judging_) {
        size_t judged = std::min(count, judgedMarks_.size());
        judgedMarks_.erase(judgedMarks_.begin(), judgedMarks_.begin() + static_cast<std::ptrdiff_t>(judged));
    }
    // The rows left keep their marks: only their positions move.
    auto kept = std::lower_bound(shown_.begin(), shown_.end(), count);
    droppedShown_ += static_cast<uint64_t>(kept - shown_.begin());
    shown_.erase(shown_.begin(), kept);
    for (uint32_t& position : shown_) {
        position -= static_cast<uint32_t>(count);
    }
}

void LineStore::FreeUnusedBlocks()
{
    // Texts are stored in arrival order, so the blocks no line uses are the oldest ones; the
    // newest, still being filled, starts again from its beginning instead.
    while (!blocks_.empty() && blocks_.front().lines == 0) {
        if (blocks_.size() == 1) {
            blocks_.front().used = 0;
            break;
        }
        blocks_.pop_front();
        ++firstBlock_;
    }
}

void LineStore::RebuildShown()
{
    shown_.clear();
    for (size_t i = 0; i < count_; ++i) {
        const LineRecord& record = Record(i);
        if (Shows(record.lineClass, record.mark)) {
            shown_.push_back(static_cast<uint32_t>(i));
        }
    }
    shown_.shrink_to_fit();
}
