#include "card_text.h"

#include <algorithm>

namespace card {

namespace {

// One field of the text block: where it starts and how many UCS-2 characters it holds.
struct FieldSpan {
    std::size_t offset;  // bytes
    std::size_t chars;
};

constexpr FieldSpan kName{0, 15};
constexpr FieldSpan kSex{30, 1};
constexpr FieldSpan kNation{32, 2};
constexpr FieldSpan kBirthDate{36, 8};
constexpr FieldSpan kAddress{52, 35};
constexpr FieldSpan kIdNumber{122, 18};
constexpr FieldSpan kAuthority{158, 15};
constexpr FieldSpan kValidFrom{188, 8};
constexpr FieldSpan kValidUntil{204, 8};
constexpr std::size_t kTypeMarkOffset = 248;

char16_t CharAt(std::span<const std::uint8_t> block, std::size_t offset) {
    return static_cast<char16_t>(block[offset] | (block[offset + 1] << 8));
}

// The field's characters with the padding (spaces at its end) taken off; nothing else.
std::u16string ReadField(std::span<const std::uint8_t> block, FieldSpan field) {
    std::u16string text;
    text.reserve(field.chars);
    for (std::size_t i = 0; i < field.chars; ++i) text.push_back(CharAt(block, field.offset + 2 * i));
    text.erase(text.find_last_not_of(u' ') + 1);  // npos + 1 == 0 clears an all-space field
    return text;
}

void WriteChar(std::vector<std::uint8_t>& block, std::size_t offset, char16_t c) {
    block[offset] = static_cast<std::uint8_t>(c & 0xFF);
    block[offset + 1] = static_cast<std::uint8_t>(c >> 8);
}

void WriteField(std::vector<std::uint8_t>& block, FieldSpan field, std::u16string_view text) {
    for (std::size_t i = 0; i < field.chars && i < text.size(); ++i) WriteChar(block, field.offset + 2 * i, text[i]);
}

// "20150101" -> "2015.01.01"; anything but eight digits stays as it is ("长期").
std::u16string DottedDate(std::u16string_view date) {
    const bool eightDigits =
        date.size() == 8 && std::all_of(date.begin(), date.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    if (!eightDigits) return std::u16string(date);
    std::u16string dotted(date.substr(0, 4));
    dotted += u'.';
    dotted += date.substr(4, 2);
    dotted += u'.';
    dotted += date.substr(6, 2);
    return dotted;
}

struct CodeText {
    std::u16string_view code;
    std::u16string_view text;
};

constexpr CodeText kSexes[] = {{u"0", u"未知"}, {u"1", u"男"}, {u"2", u"女"}, {u"9", u"未说明"}};

constexpr CodeText kNations[] = {
    {u"01", u"汉"},     {u"02", u"蒙古"},     {u"03", u"回"},     {u"04", u"藏"},     {u"05", u"维吾尔"},
    {u"06", u"苗"},     {u"07", u"彝"},       {u"08", u"壮"},     {u"09", u"布依"},   {u"10", u"朝鲜"},
    {u"11", u"满"},     {u"12", u"侗"},       {u"13", u"瑶"},     {u"14", u"白"},     {u"15", u"土家"},
    {u"16", u"哈尼"},   {u"17", u"哈萨克"},   {u"18", u"傣"},     {u"19", u"黎"},     {u"20", u"傈僳"},
    {u"21", u"佤"},     {u"22", u"畲"},       {u"23", u"高山"},   {u"24", u"拉祜"},   {u"25", u"水"},
    {u"26", u"东乡"},   {u"27", u"纳西"},     {u"28", u"景颇"},   {u"29", u"柯尔克孜"}, {u"30", u"土"},
    {u"31", u"达斡尔"}, {u"32", u"仫佬"},     {u"33", u"羌"},     {u"34", u"布朗"},   {u"35", u"撒拉"},
    {u"36", u"毛南"},   {u"37", u"仡佬"},     {u"38", u"锡伯"},   {u"39", u"阿昌"},   {u"40", u"普米"},
    {u"41", u"塔吉克"}, {u"42", u"怒"},       {u"43", u"乌孜别克"}, {u"44", u"俄罗斯"}, {u"45", u"鄂温克"},
    {u"46", u"德昂"},   {u"47", u"保安"},     {u"48", u"裕固"},   {u"49", u"京"},     {u"50", u"塔塔尔"},
    {u"51", u"独龙"},   {u"52", u"鄂伦春"},   {u"53", u"赫哲"},   {u"54", u"门巴"},   {u"55", u"珞巴"},
    {u"56", u"基诺"},   {u"97", u"其他"},     {u"98", u"外国血统中国籍人士"},
};

template <std::size_t N>
std::u16string Lookup(const CodeText (&table)[N], std::u16string_view code) {
    for (const CodeText& entry : table)
        if (entry.code == code) return std::u16string(entry.text);
    return std::u16string(code);
}

}  // namespace

std::optional<CardFields> ParseTextBlock(std::span<const std::uint8_t> block) {
    if (block.size() < kTextBlockSize) return std::nullopt;
    const char16_t mark = CharAt(block, kTypeMarkOffset);
    if (mark != kResidentMark && mark != kPermitMark) return std::nullopt;  // a layout we do not know
    CardFields fields;
    fields.name = ReadField(block, kName);
    fields.sexCode = ReadField(block, kSex);
    fields.nationCode = ReadField(block, kNation);
    fields.birthDate = ReadField(block, kBirthDate);
    fields.address = ReadField(block, kAddress);
    fields.idNumber = ReadField(block, kIdNumber);
    fields.authority = ReadField(block, kAuthority);
    fields.validFrom = ReadField(block, kValidFrom);
    fields.validUntil = ReadField(block, kValidUntil);
    fields.typeMark = mark;
    return fields;
}

std::vector<std::uint8_t> BuildTextBlock(const CardFields& fields) {
    std::vector<std::uint8_t> block(kTextBlockSize);
    for (std::size_t offset = 0; offset < kTextBlockSize; offset += 2) WriteChar(block, offset, u' ');
    WriteField(block, kName, fields.name);
    WriteField(block, kSex, fields.sexCode);
    WriteField(block, kNation, fields.nationCode);
    WriteField(block, kBirthDate, fields.birthDate);
    WriteField(block, kAddress, fields.address);
    WriteField(block, kIdNumber, fields.idNumber);
    WriteField(block, kAuthority, fields.authority);
    WriteField(block, kValidFrom, fields.validFrom);
    WriteField(block, kValidUntil, fields.validUntil);
    WriteChar(block, kTypeMarkOffset, fields.typeMark);
    return block;
}

std::u16string SexText(std::u16string_view code) { return Lookup(kSexes, code); }

std::u16string NationText(std::u16string_view code) { return Lookup(kNations, code); }

std::array<std::u16string, 8> CardFileFields(const CardFields& fields) {
    return {
        fields.name,
        SexText(fields.sexCode),
        NationText(fields.nationCode),
        fields.birthDate,
        fields.address,
        fields.idNumber,
        fields.authority,
        DottedDate(fields.validFrom) + u"-" + DottedDate(fields.validUntil),
    };
}

bool FitsCardFile(const std::array<std::u16string, 8>& fields) {
    return std::none_of(fields.begin(), fields.end(), [](const std::u16string& field) {
        return field.find_first_of(std::u16string_view(u"\0\r\n", 3)) != std::u16string::npos;
    });
}

}  // namespace card
