#include "device_names.h"

namespace vedio {

std::u16string ListableName(std::u16string_view name) {
    std::u16string listable;
    listable.reserve(name.size());
    for (const char16_t c : name) {
        if (c == u'|') listable += u'/';
        else if (c < 0x20 || c == 0x7F) listable += u' ';
        else listable += c;
    }
    bool allDigits = true;
    for (const char16_t c : listable) allDigits = allDigits && c >= u'0' && c <= u'9';
    if (allDigits) listable.insert(0, listable.empty() ? u"Camera" : u"Camera ");
    return listable;
}

}  // namespace vedio
