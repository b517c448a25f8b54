// Name comparison and the element path grammar.
#include "xml/XmlCharacters.h"
#include "xml/XmlDocument.h"

namespace xml {

bool NameMatches(std::u16string_view token, std::u16string_view name, bool ignoreCase) {
    const std::size_t length = token.size();
    if (length > name.size())
        return false;
    // After a matching non-ASCII pair the rest must match exactly: folding
    // stops being meaningful once the name has left ASCII.
    bool exact = !ignoreCase;
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t a = token[i];
        const char16_t b = name[i];
        if (a == b) {
            if (a > 0x7F)
                exact = true;
            continue;
        }
        if (exact || FoldAsciiUpper(a) != FoldAsciiUpper(b))
            return false;
    }
    return name.size() == length || EndsPathName(name[length]);
}

namespace {

class CPathChecker {
  public:
    explicit CPathChecker(std::u16string_view path) : m_path(path) {}

    bool Check() {
        bool doubleSlash = false;
        if (Next(u"//")) {
            doubleSlash = true;
        } else {
            Next(u"/");
        }
        if (m_pos > 0 && AtEnd())
            return false;
        for (;;) {
            if (!Step())
                return false;
            if (AtEnd())
                return true;
            if (Peek() != u'/')
                return false;
            ++m_pos;
            if (Next(u"@")) {
                SkipName();
                return AtEnd();
            }
            if (doubleSlash || AtEnd())
                return false;
        }
    }

  private:
    bool AtEnd() const { return m_pos >= m_path.size(); }
    char16_t Peek() const { return m_path[m_pos]; }
    bool Next(std::u16string_view word) {
        if (m_path.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }
    void SkipName() {
        while (!AtEnd() && !EndsPathName(Peek()))
            ++m_pos;
    }

    // step: name ( "[" predicate "]" )?
    bool Step() {
        SkipName();
        if (AtEnd() || Peek() != u'[')
            return true;
        ++m_pos;
        return Predicate() && Next(u"]");
    }

    // predicate: number | "@" name ( "=" value )? | name
    bool Predicate() {
        if (AtEnd())
            return false;
        const char16_t c = Peek();
        if (c >= u'1' && c <= u'9') {
            while (!AtEnd() && Peek() >= u'0' && Peek() <= u'9')
                ++m_pos;
            return true;
        }
        if (c != u'@') {
            SkipName();
            return true;
        }
        ++m_pos;
        SkipName();
        if (Next(u"="))
            return PredicateValue();
        return true;
    }

    // value: quoted with either mark, or everything up to the "]"
    bool PredicateValue() {
        if (!AtEnd() && (Peek() == u'"' || Peek() == u'\'')) {
            const std::size_t close = m_path.find(Peek(), m_pos + 1);
            if (close == std::u16string_view::npos)
                return false;
            m_pos = close + 1;
            return true;
        }
        while (!AtEnd() && Peek() != u']')
            ++m_pos;
        return true;
    }

    std::u16string_view m_path;
    std::size_t m_pos = 0;
};

} // namespace

bool IsValidPath(std::u16string_view path) {
    return CPathChecker(path).Check();
}

} // namespace xml
