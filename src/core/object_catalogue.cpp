#include "core/object_catalogue.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

// The type whose device text equals the `n` units at `text` with the
// letters a-z upper-cased; every other unit must equal the device text's
// own. The device texts are ASCII, so a UTF-8 byte or UTF-16 unit beyond
// ASCII never matches, and both encodings of a text give the same answer.
template <typename Unit> const Object_Type *Named(const Unit *text, std::size_t n)
{
    // The texts' lengths, measured once: the live check looks up every row
    // at each edit.
    static const auto lengths = [] {
        std::array<std::size_t, Object_Kind_Count> l{};
        for (std::size_t t = 0; t < l.size(); ++t)
            l[t] = std::strlen(Object_Catalogue[t].device_text);
        return l;
    }();
    for (std::size_t t = 0; t < lengths.size(); ++t) {
        if (lengths[t] != n)
            continue;
        const char *want = Object_Catalogue[t].device_text;
        std::size_t i = 0;
        for (; i < n; ++i) {
            auto c = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(text[i]));
            if (c >= 'a' && c <= 'z')
                c -= 'a' - 'A';
            if (c != static_cast<unsigned char>(want[i]))
                break;
        }
        if (i == n)
            return &Object_Catalogue[t];
    }
    return nullptr;
}

} // namespace

const Object_Type *Object_Type_Named(QStringView data_type)
{
    return Named(data_type.utf16(), std::size_t(data_type.size()));
}

const Object_Type *Object_Type_Named(const char *data_type)
{
    // The longest type text has 22 characters; a longer text is none of them.
    return Named(data_type, strnlen(data_type, 32));
}

int Device_Kind_Index(const char *data_type)
{
    const Object_Type *type = Object_Type_Named(data_type);
    return type ? int(type - Object_Catalogue.data()) : -1;
}
