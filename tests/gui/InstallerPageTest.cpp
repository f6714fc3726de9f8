#include "pages/InstallerPage.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace
{
using Bounds = juce::Rectangle<int>;

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

TEST (InstallerPage, LayoutGivesEachPartItsBounds)
{
    struct Row
    {
        const char* name;
        bool back, extraAndStatus, footer; // which optional parts the page keeps
        int width, height;
        // title, description, extra, status, footer, next, back; unused where a part is absent
        std::array<Bounds, 7> expected;
    };
    // clang-format off
    const Row rows[] {
        { "back eight pixels left of Next, narrowing the footer", true, true, true, 640, 436,
          { { { 24, 48, 592, 48 }, { 24, 108, 592, 64 }, { 24, 184, 592, 32 }, { 24, 228, 592, 48 },
              { 24, 369, 408, 51 }, { 532, 388, 84, 32 }, { 440, 388, 84, 32 } } } },
        { "width 20: no content width", true, true, true, 20, 436,
          { { { 20, 48, 0, 48 }, { 20, 108, 0, 64 }, { 20, 184, 0, 32 }, { 20, 228, 0, 48 },
              { 20, 369, 0, 51 }, { 20, 388, 0, 32 }, { 20, 388, 0, 32 } } } },
        { "height 40: labels get 0, the others keep their heights", false, true, true, 640, 40,
          { { { 24, 40, 592, 0 }, { 24, 40, 592, 64 }, { 24, 40, 592, 32 }, { 24, 40, 592, 0 },
              { 24, 40, 500, 51 }, { 532, 40, 84, 32 }, {} } } },
        // The description alone fills down to 12 above the bottom row.
        { "description above the footer", true, false, true, 640, 436,
          { { { 24, 48, 592, 48 }, { 24, 108, 592, 249 }, {}, {}, { 24, 369, 408, 51 },
              { 532, 388, 84, 32 }, { 440, 388, 84, 32 } } } },
        { "description above the buttons", false, false, false, 640, 436,
          { { { 24, 48, 592, 48 }, { 24, 108, 592, 268 }, {}, {}, {}, { 532, 388, 84, 32 }, {} } } },
    };
    // clang-format on

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.name);
        InstallerPage page;
        if (! row.back)
            page.backButton.reset();
        if (! row.extraAndStatus)
        {
            page.extraComponent.reset();
            page.statusLabel.reset();
        }
        if (! row.footer)
            page.footerComponent.reset();
        if (page.extraComponent != nullptr)
            page.extraComponent->setSize (1, 32);
        if (page.footerComponent != nullptr)
            page.footerComponent->setSize (1, 51);
        page.addChildren();
        page.setSize (row.width, row.height);

        const std::array<juce::Component*, 7> parts {
            page.titleLabel.get(),  page.descriptionLabel.get(), page.extraComponent.get(),
            page.statusLabel.get(), page.footerComponent.get(),  page.nextButton.get(),
            page.backButton.get()
        };
        for (size_t i = 0; i < parts.size(); ++i)
        {
            if (parts[i] != nullptr)
            {
                EXPECT_EQ (parts[i]->getBounds(), row.expected[i]) << "part " << i;
            }
        }
    }
}

TEST (InstallerPage, AddChildrenShowsThePartsThatArePresentAndLabelsTheButtons)
{
    InstallerPage page;
    page.footerComponent.reset();
    page.addChildren();

    EXPECT_EQ (page.getNumChildComponents(), 6);
    for (auto* child : page.getChildren())
        EXPECT_TRUE (child->isVisible());
    // Each part goes on top: the description lies in front of the title.
    EXPECT_GT (page.getIndexOfChildComponent (page.descriptionLabel.get()),
               page.getIndexOfChildComponent (page.titleLabel.get()));

    page.updateUI();
    EXPECT_EQ (page.nextButton->getButtonText(), "Next");
    EXPECT_EQ (page.backButton->getButtonText(), "Back");
}

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
