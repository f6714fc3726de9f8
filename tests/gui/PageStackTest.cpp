#include "ShellTestSupport.h"

#include "app/MainComponent.h"
#include "app/MainWindow.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"
#include "support/PumpUntil.h"

#include <gtest/gtest.h>

using namespace shell_testing;

namespace
{
std::vector<bool> visibility (const MainComponent& component)
{
    std::vector<bool> result;
    for (const auto& page : component.getPages())
        result.push_back (page->isVisible());
    return result;
}

class PageStack : public ShellWindowTest
{
};
} // namespace

TEST_F (PageStack, WindowOpensAtItsSizeWithTitleAndWelcomeOnShow)
{
    auto* window = MainWindow::getInstance();

    EXPECT_EQ (window->getName(), "larkspire-downloader");
    EXPECT_TRUE (window->isUsingNativeTitleBar());
    EXPECT_EQ (window->getContentComponent(), &mainComponent());
    EXPECT_EQ (mainComponent().getWidth(), 640);
    EXPECT_EQ (mainComponent().getHeight(), 480);
    EXPECT_TRUE (window->isOnDesktop());

    ASSERT_EQ (mainComponent().getPages().size(), 3u);
    EXPECT_NE (dynamic_cast<Welcome*> (mainComponent().getPages()[0].get()), nullptr);
    EXPECT_NE (dynamic_cast<Downloading*> (mainComponent().getPages()[1].get()), nullptr);
    EXPECT_NE (dynamic_cast<Finished*> (mainComponent().getPages()[2].get()), nullptr);
    EXPECT_EQ (visibility (mainComponent()), (std::vector<bool> { true, false, false }));

    for (const auto& page : mainComponent().getPages())
        EXPECT_EQ (page->getBounds(), juce::Rectangle<int> (0, 44, 640, 436));
}

TEST_F (PageStack, ResizingStretchesPagesBelowTheHeader)
{
    mainComponent().setSize (800, 30);
    for (const auto& page : mainComponent().getPages())
        EXPECT_EQ (page->getBounds(), juce::Rectangle<int> (0, 30, 800, 0));

    mainComponent().setSize (900, 700);
    for (const auto& page : mainComponent().getPages())
        EXPECT_EQ (page->getBounds(), juce::Rectangle<int> (0, 44, 900, 656));
}

TEST_F (PageStack, BackOnFirstAndNextOnLastChangeNothing)
{
    mainComponent().showPreviousPage();
    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (visibility (mainComponent()), (std::vector<bool> { true, false, false }));

    // Walk to the last page directly. Without update information the download has no link,
    // fails at once, and the Downloading page moves on by itself.
    mainComponent().showNextPage();
    ASSERT_TRUE (testing_support::pumpUntil ([this] { return currentPage() == 2; }, 20000));
    EXPECT_EQ (visibility (mainComponent()), (std::vector<bool> { false, false, true }));

    mainComponent().showNextPage();
    EXPECT_EQ (currentPage(), 2u);
    EXPECT_EQ (visibility (mainComponent()), (std::vector<bool> { false, false, true }));

    // Finished has no way back: its Back button is hidden.
    EXPECT_FALSE (finished().backButton->isVisible());
}

TEST_F (PageStack, DownloadingPageHasAProgressBarAndCancel)
{
    auto& page = downloading();

    EXPECT_NE (dynamic_cast<juce::ProgressBar*> (page.extraComponent.get()), nullptr);
    EXPECT_EQ (page.extraComponent->getBounds(), juce::Rectangle<int> (24, 184, 592, 32));
    EXPECT_EQ (page.backButton, nullptr);
    EXPECT_EQ (page.nextButton->getButtonText(), "Cancel");
    EXPECT_EQ (page.nextButton->getBounds(), juce::Rectangle<int> (532, 388, 84, 32));
}

TEST_F (PageStack, RefusedNextChangesNothing)
{
    model->downloadFolder = {};
    welcome().updateUI();

    pressNext();

    EXPECT_EQ (currentPage(), 0u);
    EXPECT_EQ (visibility (mainComponent()), (std::vector<bool> { true, false, false }));
    EXPECT_EQ (downloading().getState(), Downloading::notStarted);
}

TEST_F (PageStack, ComponentCanBeBuiltAgainAfterDeletion)
{
    MainWindow::deleteInstance();
    MainComponent::deleteInstance();
    EXPECT_EQ (MainComponent::getInstanceWithoutCreating(), nullptr);
    // The window's posted raise call and the pages' posted refreshes find nothing to touch.
    testing_support::pumpFor (50);

    auto* window = MainWindow::getInstance();
    ASSERT_NE (window, nullptr);
    EXPECT_EQ (window->getContentComponent(), MainComponent::getInstanceWithoutCreating());
    EXPECT_EQ (MainComponent::getInstance()->getCurrentPageIndex(), 0u);
}
