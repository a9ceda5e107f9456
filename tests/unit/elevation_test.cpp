// The settings window's elevation under UAC, with a double of the token.
#include <gtest/gtest.h>

#include "shell/elevation.h"

using namespace glossira;

namespace {

class TokenDouble final : public ProcessToken {
public:
    TokenDouble(TokenElevation type, bool consent) : type_(type), consent_(consent) {}
    TokenElevation Elevation() override { return type_; }
    bool RestartElevated() override
    {
        ++asked;
        return consent_;
    }
    int asked = 0;

private:
    TokenElevation type_;
    bool consent_;
};

}  // namespace

TEST(Elevation, OnlyAnAdministratorNotElevatedIsAskedAndARefusalGoesOn)
{
    TokenDouble limitedYes(TokenElevation::Limited, true);
    EXPECT_TRUE(HandOverToElevated(limitedYes));
    EXPECT_EQ(limitedYes.asked, 1);

    TokenDouble limitedNo(TokenElevation::Limited, false);
    EXPECT_FALSE(HandOverToElevated(limitedNo));
    EXPECT_EQ(limitedNo.asked, 1);

    // Elevated already, or no split token (not an administrator, UAC off).
    for (TokenElevation type : {TokenElevation::Full, TokenElevation::Default}) {
        TokenDouble other(type, true);
        EXPECT_FALSE(HandOverToElevated(other));
        EXPECT_EQ(other.asked, 0);
    }
}
