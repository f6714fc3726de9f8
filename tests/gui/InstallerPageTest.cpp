#include "pages/InstallerPage.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
using Bounds = juce::Rectangle<int>;

/** A page built the way MainComponent builds the Welcome page: 32-high extra component,
    51-high footer, optionally without its Back button. */
std::unique_ptr<InstallerPage> makePage (bool withBack, bool withExtra = true,
                                         bool withStatus = true, bool withFooter = true)
{
    auto page = std::make_unique<InstallerPage>();

    if (! withBack)
        page->backButton.reset();

    if (withExtra)
        page->extraComponent->setSize (1, 32);
    else
        page->extraComponent.reset();

    if (! withStatus)
        page->statusLabel.reset();

    if (withFooter)
        page->footerComponent->setSize (1, 51);
    else
        page->footerComponent.reset();

    page->addChildren();
    return page;
}

struct CountingPage final : public InstallerPage
{
    void updateUI() override
    {
        InstallerPage::updateUI();
        ++*calls;

        if (requestFromInside)
            requestUpdateUI();
    }

    std::shared_ptr<int> calls = std::make_shared<int> (0);
    bool requestFromInside = false;
};
} // namespace

TEST (InstallerPageLayout, WorkedExampleGivesTheExactBounds)
{
    auto page = makePage (false);
    page->setSize (640, 436);

    EXPECT_EQ (page->titleLabel->getBounds(), Bounds (24, 48, 592, 48));
    EXPECT_EQ (page->descriptionLabel->getBounds(), Bounds (24, 108, 592, 64));
    EXPECT_EQ (page->extraComponent->getBounds(), Bounds (24, 184, 592, 32));
    EXPECT_EQ (page->statusLabel->getBounds(), Bounds (24, 228, 592, 48));
    EXPECT_EQ (page->footerComponent->getBounds(), Bounds (24, 369, 500, 51));
    EXPECT_EQ (page->nextButton->getBounds(), Bounds (532, 388, 84, 32));
}

TEST (InstallerPageLayout, BackSitsEightPixelsLeftOfNextAndNarrowsTheFooter)
{
    auto page = makePage (true);
    page->setSize (640, 436);

    EXPECT_EQ (page->nextButton->getBounds(), Bounds (532, 388, 84, 32));
    EXPECT_EQ (page->backButton->getBounds(), Bounds (440, 388, 84, 32));
    EXPECT_EQ (page->footerComponent->getBounds(), Bounds (24, 369, 592 - 184, 51));
}

TEST (InstallerPageLayout, WidthTwentyLeavesNoContentWidth)
{
    auto page = makePage (true);
    page->setSize (20, 436);

    for (auto* part :
         { static_cast<juce::Component*> (page->titleLabel.get()),
           static_cast<juce::Component*> (page->descriptionLabel.get()), page->extraComponent.get(),
           static_cast<juce::Component*> (page->statusLabel.get()) })
    {
        EXPECT_EQ (part->getX(), 20);
        EXPECT_EQ (part->getWidth(), 0);
    }

    EXPECT_EQ (page->nextButton->getBounds(), Bounds (20, 388, 0, 32));
    EXPECT_EQ (page->backButton->getBounds(), Bounds (20, 388, 0, 32));
    EXPECT_EQ (page->footerComponent->getBounds(), Bounds (20, 369, 0, 51));
}

TEST (InstallerPageLayout, HeightFortyLeavesNoRoomButKeepsOwnHeights)
{
    auto page = makePage (false);
    page->setSize (640, 40);

    EXPECT_EQ (page->titleLabel->getBounds(), Bounds (24, 40, 592, 0));
    EXPECT_EQ (page->descriptionLabel->getBounds(), Bounds (24, 40, 592, 64));
    EXPECT_EQ (page->extraComponent->getBounds(), Bounds (24, 40, 592, 32));
    EXPECT_EQ (page->statusLabel->getBounds(), Bounds (24, 40, 592, 0));
    EXPECT_EQ (page->footerComponent->getBounds(), Bounds (24, 40, 500, 51));
    EXPECT_EQ (page->nextButton->getBounds(), Bounds (532, 40, 84, 32));
}

TEST (InstallerPageLayout, DescriptionAloneFillsDownToTwelveAboveTheBottomRow)
{
    auto withFooter = makePage (true, false, false, true);
    withFooter->setSize (640, 436);
    // After the title: y 108, remaining 312; the 51-high row and a 12 gap come off.
    EXPECT_EQ (withFooter->descriptionLabel->getBounds(), Bounds (24, 108, 592, 312 - 51 - 12));

    auto withoutFooter = makePage (true, false, false, false);
    withoutFooter->setSize (640, 436);
    EXPECT_EQ (withoutFooter->descriptionLabel->getBounds(), Bounds (24, 108, 592, 312 - 32 - 12));
    EXPECT_EQ (withoutFooter->nextButton->getBounds(), Bounds (532, 388, 84, 32));
}

TEST (InstallerPageLayout, AddChildrenShowsOnlyThePartsThatArePresent)
{
    auto page = makePage (false);

    EXPECT_EQ (page->getNumChildComponents(), 6);
    for (auto* child : page->getChildren())
        EXPECT_TRUE (child->isVisible());

    // The description comes in as a child even before any text, and in front of the title.
    EXPECT_GT (page->getIndexOfChildComponent (page->descriptionLabel.get()),
               page->getIndexOfChildComponent (page->titleLabel.get()));
}

TEST (InstallerPageTexts, ButtonsGetNextAndBack)
{
    auto page = makePage (true);
    page->updateUI();

    EXPECT_EQ (page->nextButton->getButtonText(), "Next");
    EXPECT_EQ (page->backButton->getButtonText(), "Back");
}

TEST (InstallerPageRefresh, TenRequestsGiveOneUpdate)
{
    CountingPage page;

    for (int i = 0; i < 10; ++i)
        page.requestUpdateUI();

    EXPECT_EQ (*page.calls, 0); // nothing runs before the loop does
    testing_support::pumpFor (50);
    EXPECT_EQ (*page.calls, 1);

    page.requestUpdateUI();
    testing_support::pumpFor (50);
    EXPECT_EQ (*page.calls, 2);
}

TEST (InstallerPageRefresh, RequestFromInsideUpdateCountsAsHandled)
{
    CountingPage page;
    page.requestFromInside = true;

    page.requestUpdateUI();
    testing_support::pumpFor (100);

    EXPECT_EQ (*page.calls, 1);
}

TEST (InstallerPageRefresh, RequestForDestroyedPageDoesNothing)
{
    auto page = std::make_unique<CountingPage>();
    const auto calls = page->calls;

    page->requestUpdateUI();
    page->requestUpdateUI();
    page.reset();
    testing_support::pumpFor (50);

    EXPECT_EQ (*calls, 0);
}
