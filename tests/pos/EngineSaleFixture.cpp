#include "EngineSaleFixture.h"

void EngineSaleFixture::SetUp()
{
    SaleFixture::SetUp();
    if (!HasFatalFailure() && onServer())
        renewDatabase();
}
