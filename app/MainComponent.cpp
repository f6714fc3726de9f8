#include "app/MainComponent.h"

#include "look/FernwaveTheme.h"
#include "model/InstallerModel.h"
#include "pages/Downloading.h"
#include "pages/Finished.h"
#include "pages/Welcome.h"

JUCE_IMPLEMENT_SINGLETON (MainComponent)

MainComponent::MainComponent()
{
    setSize (640, 480);

    pages.push_back (std::make_unique<Welcome>());
    pages.back()->addChildren();
    pages.push_back (std::make_unique<Downloading>());
    pages.back()->addChildren();
    pages.push_back (std::make_unique<Finished>());
    pages.back()->addChildren();

    for (auto& page : pages)
        addChildComponent (page.get(), -1);

    pages[currentPageIndex]->setVisible (true);
    pages[currentPageIndex]->updateUI();

    resized();
}

MainComponent::~MainComponent()
{
    while (! pages.empty())
        pages.pop_back();

    clearSingletonInstance();
}

void MainComponent::paint (juce::Graphics& g)
{
    auto& currentLookAndFeel = getLookAndFeel();

    if (auto* theme = dynamic_cast<FernwaveTheme*> (&currentLookAndFeel))
        g.fillAll (theme->headerColour);
    else
        g.fillAll (juce::Colour (0xff5f5f66));

    if (auto* model = InstallerModel::getInstance(); model != nullptr && model->logo != nullptr)
        model->logo->draw (g, 1.0f, juce::AffineTransform::translation (16.0f, 12.0f));

    if (auto* v4 = dynamic_cast<juce::LookAndFeel_V4*> (&currentLookAndFeel))
        g.setColour (v4->getCurrentColourScheme().getUIColour (
            juce::LookAndFeel_V4::ColourScheme::windowBackground));
    else
        g.setColour (findColour (juce::ResizableWindow::backgroundColourId));

    const auto height = static_cast<float> (getHeight());
    const auto top = std::min (height, static_cast<float> (headerHeight));
    g.fillRoundedRectangle (0.0f, top, static_cast<float> (getWidth()), height - top, 4.0f);
}

void MainComponent::resized()
{
    const int top = std::min (getHeight(), headerHeight);

    for (auto& page : pages)
        page->setBounds (0, top, getWidth(), getHeight() - top);
}

InstallerPage* MainComponent::getCurrentPage() const
{
    return currentPageIndex < pages.size() ? pages[currentPageIndex].get() : nullptr;
}

void MainComponent::showNextPage()
{
    if (pages.empty() || currentPageIndex + 1 >= pages.size())
        return;

    showPage (currentPageIndex + 1);
}

void MainComponent::showPreviousPage()
{
    if (pages.empty() || currentPageIndex == 0)
        return;

    showPage (currentPageIndex - 1);
}

void MainComponent::showPage (size_t index)
{
    // The index moves only after the new page's updateUI: during it, the index still names the
    // page being left.
    pages[currentPageIndex]->setVisible (false);
    pages[index]->setVisible (true);
    pages[index]->updateUI();
    currentPageIndex = index;
}
