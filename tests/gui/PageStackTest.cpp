#include "ShellTestSupport.h"

#include "app/MainWindow.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

using namespace shell_testing;

namespace
{
class PageStack : public ShellWindowTest
{
protected:
    std::vector<bool> visibility()
    {
        std::vector<bool> result;
        for (const auto& page : mainComponent().getPages())
            result.push_back (page->isVisible());
        return result;
    }

    void expectPageBounds (juce::Rectangle<int> expected)
    {
        for (const auto& page : mainComponent().getPages())
            EXPECT_EQ (page->getBounds(), expected);
    }

    const std::vector<bool> onlyFirst { true, false, false };
    const std::vector<bool> onlyLast { false, false, true };
};
} // namespace

TEST_F (PageStack, WindowHoldsThePagesInWizardOrderBelowTheHeader)
{
    auto* window = MainWindow::getInstance();
    EXPECT_TRUE (window->isUsingNativeTitleBar());
    EXPECT_TRUE (window->isOnDesktop());
    EXPECT_EQ (window->getContentComponent(), &mainComponent());
    EXPECT_EQ (mainComponent().getWidth(), 640);
    EXPECT_EQ (mainComponent().getHeight(), 480);

    ASSERT_EQ (mainComponent().getPages().size(), 3u);
    EXPECT_NE (dynamic_cast<Welcome*> (pageAt (0)), nullptr);
    EXPECT_NE (dynamic_cast<Downloading*> (pageAt (1)), nullptr);
    EXPECT_NE (dynamic_cast<Finished*> (pageAt (2)), nullptr);
    EXPECT_EQ (visibility(), onlyFirst);
    expectPageBounds ({ 0, 44, 640, 436 });

    EXPECT_NE (dynamic_cast<juce::ProgressBar*> (downloading().extraComponent.get()), nullptr);
    EXPECT_EQ (downloading().backButton, nullptr);

    mainComponent().setSize (800, 30);
    expectPageBounds ({ 0, 30, 800, 0 });
    mainComponent().setSize (900, 700);
    expectPageBounds ({ 0, 44, 900, 656 });
}

TEST_F (PageStack, BackOnFirstAndNextOnLastChangeNothing)
{
    mainComponent().showPreviousPage();
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (visibility(), onlyFirst);

    // Without update information the download has no link, fails at once, and the Downloading
    // page moves on by itself.
    mainComponent().showNextPage();
    ASSERT_TRUE (testing_support::pumpUntil ([this] { return currentPage() == 2; }, 20000));
    EXPECT_EQ (visibility(), onlyLast);

    mainComponent().showNextPage();
    EXPECT_EQ (currentPage(), 2u);
    EXPECT_EQ (visibility(), onlyLast);
    EXPECT_FALSE (finished().backButton->isVisible()); // no way back from Finished
}
