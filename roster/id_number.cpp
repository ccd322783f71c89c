#include "roster/id_number.h"

namespace roster {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}
}  // namespace

std::optional<char> IdCheckCharacter(std::string_view first17) {
    constexpr int kWeights[17] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
    constexpr char kCheck[] = "10X98765432";
    if (first17.size() != 17) return std::nullopt;
    int sum = 0;
    for (std::size_t i = 0; i < 17; ++i) {
        if (!IsDigit(first17[i])) return std::nullopt;
        sum += (first17[i] - '0') * kWeights[i];
    }
    return kCheck[sum % 11];
}

IdProblem CheckIdNumber(std::string_view idNumber, Date today) {
    if (idNumber.size() != kIdNumberLength) return IdProblem::WrongLength;
    const std::optional<char> check = IdCheckCharacter(idNumber.substr(0, 17));
    const char last = idNumber[17] == 'x' ? 'X' : idNumber[17];
    if (!check || (!IsDigit(last) && last != 'X')) return IdProblem::NotDigits;
    if (last != *check) return IdProblem::CheckDigit;
    const Date birth{Number(idNumber.substr(6, 4)), Number(idNumber.substr(10, 2)), Number(idNumber.substr(12, 2))};
    if (!IsRealDate(birth) || birth.year < 1900 || birth > today) return IdProblem::BirthDate;
    return IdProblem::None;
}

std::string NormalizeIdNumber(std::string_view idNumber) {
    std::string normal(idNumber);
    if (!normal.empty() && normal.back() == 'x') normal.back() = 'X';
    return normal;
}

std::string_view DescribeIdProblem(IdProblem problem) {
    switch (problem) {
        case IdProblem::None: return {};
        case IdProblem::WrongLength: return "不是18位";
        case IdProblem::NotDigits: return "含有数字和末位X以外的字符";
        case IdProblem::CheckDigit: return "校验位不对";
        case IdProblem::BirthDate: return "出生日期不对";
    }
    return {};
}

}  // namespace roster
