// After each save, its row in the record of saves (学员照片\拍照记录.csv): who, when, which file
// of what size, and whether the trainee was named from a card or by hand. The photo is saved
// already; a record that cannot be written is said in a box, with why.
#pragma once

#include <string>
#include <string_view>

namespace app {

void RecordSave(std::string_view identity, bool namedFromCard, const std::wstring& photoDirectory);

}  // namespace app
