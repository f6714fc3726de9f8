#include "pages/InstallerPage.h"

#include "app/MainComponent.h"

namespace
{
std::unique_ptr<juce::Label> makeLabel (float fontHeight, juce::Justification justification)
{
    auto label = std::make_unique<juce::Label>();
    label->setFont (juce::Font (fontHeight));
    label->setJustificationType (justification);
    return label;
}

void setLabelFontIfLabel (juce::Component* component, float fontHeight)
{
    if (auto* label = dynamic_cast<juce::Label*> (component))
        label->setFont (juce::Font (fontHeight));
}
} // namespace

InstallerPage::InstallerPage()
    : titleLabel (makeLabel (32.0f, juce::Justification::centredLeft))
    , descriptionLabel (makeLabel (18.0f, juce::Justification::topLeft))
    , statusLabel (makeLabel (17.0f, juce::Justification::topLeft))
    , nextButton (std::make_unique<juce::TextButton>())
    , backButton (std::make_unique<juce::TextButton>())
    , extraComponent (std::make_unique<juce::Label>())
    , footerComponent (std::make_unique<juce::Label>())
{
    descriptionLabel->setSize (1, 64);
    setLabelFontIfLabel (extraComponent.get(), 18.0f);
    setLabelFontIfLabel (footerComponent.get(), 18.0f);

    nextButton->onClick = [this] { nextPressed(); };
    backButton->onClick = [this] { backPressed(); };
}

InstallerPage::~InstallerPage() = default;

void InstallerPage::addChildren()
{
    juce::Component* description =
        descriptionLabel != nullptr ? descriptionLabel.get() : descriptionComponent.get();

    for (auto* part : { static_cast<juce::Component*> (titleLabel.get()), description,
                        extraComponent.get(), static_cast<juce::Component*> (statusLabel.get()),
                        static_cast<juce::Component*> (nextButton.get()),
                        static_cast<juce::Component*> (backButton.get()), footerComponent.get() })
    {
        if (part == nullptr)
            continue;

        part->setVisible (true);
        addChildComponent (part, -1);
    }

    resized();
}

bool InstallerPage::canGoNext()
{
    return true;
}

bool InstallerPage::canGoBack()
{
    return true;
}

void InstallerPage::updateUI()
{
    if (nextButton != nullptr)
        setButtonText (*nextButton, juce::translate ("Next"));

    if (backButton != nullptr)
        setButtonText (*backButton, juce::translate ("Back"));
}

void InstallerPage::requestUpdateUI()
{
    postCoalescedUpdate (updateRequestCounter, lastHandledRequest, [this] { updateUI(); });
}

void InstallerPage::postCoalescedUpdate (const std::shared_ptr<std::uint64_t>& counter,
                                         std::uint64_t& lastHandled, std::function<void()> update)
{
    ++*counter;

    std::weak_ptr<std::uint64_t> weakCounter = counter;
    auto* lastHandledPointer = &lastHandled;

    juce::MessageManager::callAsync (
        [weakCounter, lastHandledPointer, update = std::move (update)]
        {
            const auto liveCounter = weakCounter.lock();

            if (liveCounter == nullptr || *lastHandledPointer == *liveCounter)
                return;

            update();
            // Read again: a request made from inside update() counts as handled by this run.
            *lastHandledPointer = *liveCounter;
        });
}

void InstallerPage::setButtonText (juce::TextButton& button, const juce::String& text)
{
    if (button.getButtonText() != text)
        button.setButtonText (text);
}

void InstallerPage::nextPressed()
{
    if (! canGoNext())
        return;

    if (auto* mainComponent = MainComponent::getInstance())
        mainComponent->showNextPage();
}

void InstallerPage::backPressed()
{
    if (! canGoBack())
        return;

    if (auto* mainComponent = MainComponent::getInstance())
        mainComponent->showPreviousPage();
}

void InstallerPage::resized()
{
    using std::max;
    using std::min;

    const int width = getWidth();
    const int height = getHeight();

    const int left = min (width, 24);
    const int contentWidth = max (0, width - left - 24);
    const int top = min (height, 48);
    int remaining = max (0, height - top - 16);
    int y = top;

    const auto advance = [&] (int amount)
    {
        const int step = min (amount, remaining);
        y += step;
        remaining -= step;
    };
    const auto gap = [&] { advance (12); };

    juce::Component* description =
        descriptionLabel != nullptr ? descriptionLabel.get() : descriptionComponent.get();
    const bool hasMiddle = extraComponent != nullptr || statusLabel != nullptr;

    if (titleLabel != nullptr)
    {
        titleLabel->setBounds (left, y, contentWidth, min (48, remaining));
        advance (48);
        gap();
    }

    const int yAfterTitle = y;
    const int remainingAfterTitle = remaining;

    if (description != nullptr && hasMiddle)
    {
        const int h = description->getHeight();
        description->setBounds (left, y, contentWidth, h);
        advance (h);
        gap();
    }

    if (extraComponent != nullptr)
    {
        const int h = extraComponent->getHeight();
        extraComponent->setBounds (left, y, contentWidth, h);
        advance (h);
        gap();
    }

    if (statusLabel != nullptr)
    {
        statusLabel->setBounds (left, y, contentWidth, min (48, remaining));
        advance (48);
        gap();
    }

    const int bottom = y + remaining;
    const int rowHeight = footerComponent != nullptr ? max (32, footerComponent->getHeight()) : 32;
    const int buttonsWidth = (nextButton != nullptr ? nextButtonWidth + 8 : 0) +
                             (backButton != nullptr ? backButtonWidth + 8 : 0);
    const int area = min (buttonsWidth, contentWidth);
    const int right = left + contentWidth;

    if (footerComponent != nullptr)
        footerComponent->setBounds (left, bottom - min (rowHeight, remaining), contentWidth - area,
                                    rowHeight);

    const int buttonTop = bottom - min (32, remaining);
    int rest = area;

    if (nextButton != nullptr)
    {
        const int w = min (nextButtonWidth, area);
        nextButton->setBounds (right - w, buttonTop, w, 32);
        rest = area - w < 8 ? 0 : area - w - 8;
    }

    if (backButton != nullptr)
    {
        const int w = min (backButtonWidth, rest);
        backButton->setBounds (right - area + rest - w, buttonTop, w, 32);
    }

    if (description != nullptr && ! hasMiddle)
        description->setBounds (
            left, yAfterTitle, contentWidth,
            max (0, remainingAfterTitle - min (rowHeight, remainingAfterTitle) - 12));
}
