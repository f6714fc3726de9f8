#include "pages/InstallerPage.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct CountingPage final : public InstallerPage
{
    void updateUI() override
    {
        ++*calls;
        if (requestFromInside)
            requestUpdateUI();
    }

    std::shared_ptr<int> calls = std::make_shared<int> (0);
    bool requestFromInside = false;
};
} // namespace

TEST (InstallerPage, RefreshRequestsAreCoalesced)
{
    CountingPage page;
    for (int i = 0; i < 10; ++i)
        page.requestUpdateUI();
    EXPECT_EQ (*page.calls, 0); // nothing runs before the loop does
    testing_support::pumpFor (50);
    EXPECT_EQ (*page.calls, 1);

    // A request from inside updateUI counts as handled by that run.
    page.requestFromInside = true;
    page.requestUpdateUI();
    testing_support::pumpFor (100);
    EXPECT_EQ (*page.calls, 2);

    // A request for a page destroyed before it runs does nothing.
    auto doomed = std::make_unique<CountingPage>();
    const auto calls = doomed->calls;
    doomed->requestUpdateUI();
    doomed.reset();
    testing_support::pumpFor (50);
    EXPECT_EQ (*calls, 0);
}
