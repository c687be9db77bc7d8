#pragma once

#include <QByteArray>
#include <cstring>

namespace fuzz {

// Whether `text` is one JSON document (RFC 8259): an object or an array,
// blanks around it allowed; -1 when it is, else the offset of the first byte
// that breaks it. Only
// the syntax is read, nothing is built: the dump targets check every output
// with it, and a parser that builds the document costs them half their runs.
class Json_Check
{
public:
    static qsizetype First_Error(const QByteArray &text)
    {
        Json_Check c(text);
        c.Blanks();
        if ((c.Peek() != '{' && c.Peek() != '[') || !c.Value())
            return c.at_;
        c.Blanks();
        return c.at_ == c.size_ ? -1 : c.at_;
    }

private:
    explicit Json_Check(const QByteArray &text)
        : p_(text.constData())
        , size_(text.size())
    {}

    char Peek() const { return at_ < size_ ? p_[at_] : '\0'; }
    bool Take(char c)
    {
        if (Peek() != c || at_ >= size_)
            return false;
        ++at_;
        return true;
    }
    void Blanks()
    {
        while (at_ < size_ && (p_[at_] == ' ' || p_[at_] == '\t' || p_[at_] == '\n' || p_[at_] == '\r'))
            ++at_;
    }
    bool Word(const char *w)
    {
        for (; *w; ++w)
            if (!Take(*w))
                return false;
        return true;
    }
    bool Digits()
    {
        const qsizetype start = at_;
        while (at_ < size_ && p_[at_] >= '0' && p_[at_] <= '9')
            ++at_;
        return at_ > start;
    }
    bool Number()
    {
        Take('-');
        if (!Take('0') && !Digits())
            return false;
        if (Take('.') && !Digits())
            return false;
        if (Take('e') || Take('E')) {
            if (!Take('+'))
                Take('-');
            if (!Digits())
                return false;
        }
        return true;
    }
    bool String()
    {
        if (!Take('"'))
            return false;
        while (at_ < size_) {
            const unsigned char c = static_cast<unsigned char>(p_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20)
                return false;
            if (c >= 0x80) {
                if (!Utf8_Sequence())
                    return false;
                continue;
            }
            ++at_;
            if (c != '\\')
                continue;
            const char e = Peek();
            ++at_;
            if (e == 'u') {
                for (int i = 0; i < 4; ++i, ++at_) {
                    const char h = Peek();
                    if (!((h >= '0' && h <= '9') || (h >= 'a' && h <= 'f') || (h >= 'A' && h <= 'F')))
                        return false;
                }
            } else if (!e || !std::strchr("\"\\/bfnrt", e)) {
                return false;
            }
        }
        return false;
    }
    // One UTF-8 character of two to four bytes, shortest form, no surrogate.
    bool Utf8_Sequence()
    {
        const auto byte = [this](qsizetype i) {
            return at_ + i < size_ ? static_cast<unsigned char>(p_[at_ + i]) : 0u;
        };
        const unsigned lead = byte(0);
        const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0)
            return false;
        unsigned code = lead & (0x7Fu >> length);
        for (int i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0u) != 0x80u)
                return false;
            code = (code << 6) | (byte(i) & 0x3Fu);
        }
        const unsigned least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        at_ += length;
        return true;
    }

    template <class Item> bool Sequence(char open, char close, Item item)
    {
        if (!Take(open))
            return false;
        Blanks();
        if (Take(close))
            return true;
        do {
            Blanks();
            if (!item())
                return false;
            Blanks();
        } while (Take(','));
        return Take(close);
    }
    bool Value()
    {
        if (++depth_ > 512)
            return false;
        bool ok = false;
        switch (Peek()) {
        case '{':
            ok = Sequence('{', '}', [this] {
                if (!String())
                    return false;
                Blanks();
                if (!Take(':'))
                    return false;
                Blanks();
                return Value();
            });
            break;
        case '[':
            ok = Sequence('[', ']', [this] { return Value(); });
            break;
        case '"':
            ok = String();
            break;
        case 't':
            ok = Word("true");
            break;
        case 'f':
            ok = Word("false");
            break;
        case 'n':
            ok = Word("null");
            break;
        default:
            ok = Number();
        }
        --depth_;
        return ok;
    }

    const char *p_;
    qsizetype size_;
    qsizetype at_ = 0;
    int depth_ = 0;
};

} // namespace fuzz
