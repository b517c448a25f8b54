// Editing in place: each edit splices the text once and repairs the index by
// the same delta, so no new parse is needed.
#include "xml/XmlDocument.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <new>

namespace xml {

namespace {

constexpr std::int64_t MaxTextLength = std::numeric_limits<std::int32_t>::max();

bool Overlaps(const std::u16string& target, std::u16string_view piece) {
    const std::less<const char16_t*> before;
    const char16_t* begin = target.data();
    const char16_t* end = begin + target.size();
    return !piece.empty() && !before(piece.data(), begin) && before(piece.data(), end);
}

} // namespace

void ReplaceRange(std::u16string& target, std::int32_t offset, std::int32_t remove,
                  std::u16string_view insert) {
    if (Overlaps(target, insert)) {
        const std::u16string copy(insert);
        ReplaceRange(target, offset, remove, copy);
        return;
    }
    const std::size_t at = std::min(static_cast<std::size_t>(std::max(offset, 0)), target.size());
    const std::size_t removed =
        std::min(static_cast<std::size_t>(std::max(remove, 0)), target.size() - at);
    const std::size_t length = target.size() - removed + insert.size();
    // Growing by half again plus a little keeps repeated appends amortised.
    if (target.capacity() < length)
        target.reserve(length + length / 2 + 128);
    target.replace(at, removed, insert);
}

void XmlDocument::ShiftFollowing(std::int32_t position, std::int32_t delta) {
    if (!IsRecord(position) || index[position].StartTagLength() == 0)
        return;
    std::int32_t c = position;
    std::int32_t ancestor = index[position].parent;
    bool cameUp = false;
    for (;;) {
        const ElementRecord& current = index[c];
        std::int32_t next;
        if (!cameUp && current.firstChild != 0) {
            next = current.firstChild;
        } else if (current.nextSibling != 0) {
            next = current.nextSibling;
        } else {
            next = current.parent;
            while (next != ancestor && next != 0 && index[next].nextSibling == 0)
                next = index[next].parent;
            if (next != ancestor && next != 0)
                next = index[next].nextSibling;
        }
        c = next;
        cameUp = c == ancestor;
        if (cameUp || c == 0) {
            index[c].length += delta;
            if (c == 0)
                return;
            ancestor = index[c].parent;
        } else {
            index[c].start += delta;
        }
    }
}

std::int32_t XmlDocument::NewRecord() {
    if (recordCount == index.Allocated())
        index.Grow(recordCount + recordCount / 2);
    return recordCount < index.Allocated() ? recordCount : 0;
}

void XmlDocument::LinkInsertedElement(std::int32_t i, std::int32_t previous) {
    ElementRecord& record = index[i];
    ElementRecord& parent = index[record.parent];
    if (previous != 0) {
        ElementRecord& before = index[previous];
        record.nextSibling = before.nextSibling;
        if (record.nextSibling != 0)
            index[record.nextSibling].prevSibling = i;
        else
            index[parent.firstChild].prevSibling = i;
        before.nextSibling = i;
        record.prevSibling = previous;
        return;
    }
    const std::int32_t former = parent.firstChild;
    parent.firstChild = i;
    record.state |= StateFirstChild;
    if (former == 0) {
        record.nextSibling = 0;
        record.prevSibling = i;
        return;
    }
    ElementRecord& formerRecord = index[former];
    formerRecord.state &= ~StateFirstChild;
    record.nextSibling = former;
    record.prevSibling = formerRecord.prevSibling;
    formerRecord.prevSibling = i;
}

bool XmlDocument::InsertElement(std::u16string_view name, std::uint32_t options) {
    // The compact layout is the only one: nothing asks for line breaks.
    static_cast<void>(options);
    if (!index.HasPages() || name.empty())
        return false;
    const std::int32_t length = static_cast<std::int32_t>(
        std::min<std::size_t>(name.size() + 3, static_cast<std::size_t>(MaxTextLength)));
    if (length > MaxStartTagLength ||
        static_cast<std::int64_t>(text.size()) + length > MaxTextLength)
        return false;
    const ElementRecord& level = index[levelPos];
    std::int32_t place;
    std::int32_t previous;
    if (cursorPos != 0) {
        place = index[cursorPos].start + index[cursorPos].length;
        previous = cursorPos;
    } else {
        // An element without an end tag has no content to insert into.
        if (levelPos != 0 && level.EndTagLength() == 0)
            return false;
        place = level.start + level.length - level.EndTagLength();
        previous = level.firstChild != 0 ? index[level.firstChild].prevSibling : 0;
    }
    try {
        if (NewRecord() == 0)
            return false;
        std::u16string tag = u"<";
        tag += name;
        tag += u"/>";
        ReplaceRange(text, place, 0, tag);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::int32_t i = recordCount++;
    ElementRecord& record = index[i];
    record = ElementRecord{};
    record.start = place;
    record.length = length;
    record.SetTagLengths(length, 0);
    record.parent = levelPos;
    if (levelPos != 0)
        record.SetLevel(std::min(index[levelPos].Level() + 1, LevelMask));
    LinkInsertedElement(i, previous);
    ShiftFollowing(i, length);
    cursorPos = i;
    returnPos = 0;
    return true;
}

bool XmlDocument::WriteAttribute(std::int32_t position, std::u16string_view name,
                                 std::u16string_view value) {
    if (!IsRecord(position) || cursorPos == 0 || name.empty())
        return false;
    ElementRecord& record = index[position];
    const std::int32_t tagLength = record.StartTagLength();
    const AttributeLocation location =
        LocateAttribute(text, record.start + 1, record.start + tagLength, name, IgnoreCase());
    // A quoted value that runs to the end of the tag has no closing mark to
    // replace; overwriting it would take the tag's ">" with it.
    if (location.hasValue && location.quoted && !location.closed)
        return false;
    try {
        std::u16string piece;
        std::int32_t at;
        std::int32_t removed = 0;
        const std::u16string escaped = u"\"" + EncodeReferences(value) + u"\"";
        if (location.hasValue) {
            at = location.quoted ? location.valueStart - 1 : location.valueStart;
            removed = (location.quoted ? location.valueEnd + 1 : location.valueEnd) - at;
            piece = escaped;
        } else if (location.found) {
            at = location.nameEnd;
            piece = u"=" + escaped;
        } else {
            at = location.searchEnd;
            piece = u" " + std::u16string(name) + u"=" + escaped;
        }
        const std::int64_t delta = static_cast<std::int64_t>(piece.size()) - removed;
        if (tagLength + delta > MaxStartTagLength ||
            static_cast<std::int64_t>(text.size()) + delta > MaxTextLength)
            return false;
        ReplaceRange(text, at, removed, piece);
        const std::int32_t shift = static_cast<std::int32_t>(delta);
        record.SetTagLengths(tagLength + shift, record.EndTagLength());
        record.length += shift;
        ShiftFollowing(position, shift);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace xml
