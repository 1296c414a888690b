#include "pending_line.h"

bool GatherLine(PendingLine* pending, std::string_view* bytes, size_t limit)
{
    size_t end = bytes->find('\n');
    std::string_view piece = bytes->substr(0, end);
    if (!pending->tooLong) {
        if (pending->text.size() + piece.size() > limit) {
            pending->tooLong = true;
            pending->text.clear();
        } else {
            pending->text.append(piece.data(), piece.size());
        }
    }
    if (end == std::string_view::npos) {
        bytes->remove_prefix(bytes->size());
        return false;
    }
    bytes->remove_prefix(end + 1);
    return true;
}
