#pragma once

#include "DesktopAccess.h"
#include "FakeDesktopServices.h"
#include "StoreFixture.h"

namespace corvane::test {

/** @brief A real store, and a fake desktop that records what the inspector's actions open. */
class InspectorFixture : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        setInspectorDesktop(&desktop);
    }
    void TearDown() override { setInspectorDesktop(nullptr); }

    FakeDesktopServices desktop;
};

} // namespace corvane::test
