// The resident ID number check against the numbers GB 11643 publishes, and each way a
// number typed by hand or passed through a spreadsheet goes wrong.
#include "roster/id_number.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using roster::CheckIdNumber;
using roster::IdProblem;

constexpr roster::Date kToday{2026, 12, 10};

// A number born on `date` (YYYYMMDD) with a right check character.
std::string BornOn(const std::string& date) {
    const std::string first17 = "110105" + date + "123";
    return first17 + roster::IdCheckCharacter(first17).value();
}

TEST(IdNumber, PublishedNumbersPassAndEachFaultIsNamed) {
    EXPECT_EQ(CheckIdNumber("11010519491231002X", kToday), IdProblem::None);
    EXPECT_EQ(CheckIdNumber("11010519491231002x", kToday), IdProblem::None);
    // The standard's other example is born in 1880: its check character is right, and only
    // the floor of 1900 this desk puts on birth years refuses it.
    EXPECT_EQ(roster::IdCheckCharacter("44052418800101001"), '4');
    EXPECT_EQ(CheckIdNumber("440524188001010014", kToday), IdProblem::BirthDate);
    EXPECT_EQ(CheckIdNumber(BornOn("20000229"), kToday), IdProblem::None) << "2000 is a leap year";
    EXPECT_EQ(CheckIdNumber(BornOn("20261210"), kToday), IdProblem::None) << "born today";

    const struct {
        std::string number;
        IdProblem problem;
    } wrong[] = {
        {"", IdProblem::WrongLength},
        {"11010519491231002", IdProblem::WrongLength},
        {"1.10105194912311E+17", IdProblem::WrongLength},  // typed as a number in a spreadsheet
        {"11010519491231002X ", IdProblem::WrongLength},
        {"1101051949123100X2", IdProblem::NotDigits},
        {"11010519491231002Y", IdProblem::NotDigits},
        {"１１０１０５１９４９", IdProblem::WrongLength},  // full-width digits
        {"110105194912310021", IdProblem::CheckDigit},
        {"110105194912310029", IdProblem::CheckDigit},
        {BornOn("19000229"), IdProblem::BirthDate},  // 1900 is no leap year
        {BornOn("18991231"), IdProblem::BirthDate},
        {BornOn("20261211"), IdProblem::BirthDate},  // tomorrow
        {BornOn("19491331"), IdProblem::BirthDate},
        {BornOn("19490431"), IdProblem::BirthDate},
        {BornOn("19490100"), IdProblem::BirthDate},
    };
    for (const auto& [number, problem] : wrong) {
        EXPECT_EQ(CheckIdNumber(number, kToday), problem) << number;
        EXPECT_FALSE(roster::DescribeIdProblem(problem).empty());
    }
    EXPECT_EQ(roster::NormalizeIdNumber("11010519491231002x"), "11010519491231002X");
}

}  // namespace
