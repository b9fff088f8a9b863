#include "online/EmailCheck.h"

#include <gtest/gtest.h>

struct EmailCase
{
    const char* address;
    bool valid;
};

void PrintTo(const EmailCase& c, std::ostream* out)
{
    *out << '"' << c.address << '"';
}

class EmailCheck : public ::testing::TestWithParam<EmailCase>
{
};

TEST_P(EmailCheck, AcceptsOnlyTheExpectedShape)
{
    EXPECT_EQ(IsValidEmailAddress(QString::fromUtf8(GetParam().address)), GetParam().valid)
        << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(Addresses, EmailCheck,
                         ::testing::Values(EmailCase{"john.doe@example.com", true},
                                           EmailCase{"A_b+c-d.e@Mail-Host.CO.uk", true},
                                           EmailCase{"x@y.z1", true},
                                           EmailCase{"x@y.a-b.c", true},
                                           EmailCase{"john doe@example.com", false},
                                           EmailCase{"john.example.com", false},
                                           EmailCase{"john@localhost", false},
                                           EmailCase{"john@my_host.com", false},
                                           EmailCase{"john@example.com.", false},
                                           EmailCase{"john@example.com-", false},
                                           EmailCase{"a@b@c.com", false},
                                           EmailCase{"@example.com", false},
                                           EmailCase{"jöhn@example.com", false},
                                           EmailCase{"", false}));
