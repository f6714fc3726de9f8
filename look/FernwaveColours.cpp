#include "look/FernwaveColours.h"

namespace
{
// Colour IDs of juce_gui_extra widgets: that module is not part of this program, but the
// table still gives them the light colours, as the other widgets get.
constexpr int codeEditorComponentBackgroundColourId = 0x1004500;
constexpr int codeEditorComponentHighlightColourId = 0x1004502;
constexpr int codeEditorComponentDefaultTextColourId = 0x1004503;
constexpr int codeEditorComponentLineNumberBackgroundId = 0x1004504;
constexpr int codeEditorComponentLineNumberTextId = 0x1004505;
constexpr int colourSelectorBackgroundColourId = 0x1007000;
constexpr int colourSelectorLabelTextColourId = 0x1007001;
constexpr int keyMappingEditorComponentBackgroundColourId = 0x100AD00;
constexpr int keyMappingEditorComponentTextColourId = 0x100AD01;
} // namespace

juce::LookAndFeel_V4::ColourScheme makeFernwaveColourScheme()
{
    return { juce::Colour (0xfff5f5f5),   // windowBackground
             juce::Colour (0xfffafafa),   // widgetBackground
             juce::Colour (0xfff5f5f5),   // menuBackground
             juce::Colour (0x1a000000),   // outline
             juce::Colour (0xff4e4e4e),   // defaultText
             juce::Colour (0xff464747),   // defaultFill
             juce::Colour (0xff404040),   // highlightedText
             juce::Colour (0xff868787),   // highlightedFill
             juce::Colour (0xff4e4e4e) }; // menuText
}

std::vector<FernwaveColourSetting>
    makeFernwaveColourSettings (const juce::LookAndFeel_V4::ColourScheme& scheme,
                                juce::Colour headerColour, juce::Colour headerTextColour,
                                juce::Colour headerOverlayColour)
{
    using UIColour = juce::LookAndFeel_V4::ColourScheme::UIColour;

    const auto windowBackground = scheme.getUIColour (UIColour::windowBackground);
    const auto widgetBackground = scheme.getUIColour (UIColour::widgetBackground);
    const auto menuBackground = scheme.getUIColour (UIColour::menuBackground);
    const auto outline = scheme.getUIColour (UIColour::outline);
    const auto defaultText = scheme.getUIColour (UIColour::defaultText);
    const auto defaultFill = scheme.getUIColour (UIColour::defaultFill);
    const auto highlightedText = scheme.getUIColour (UIColour::highlightedText);
    const auto highlightedFill = scheme.getUIColour (UIColour::highlightedFill);
    const auto menuText = scheme.getUIColour (UIColour::menuText);

    return {
        { juce::ToggleButton::textColourId, defaultText },
        { juce::ToggleButton::tickColourId, defaultText },
        { juce::ToggleButton::tickDisabledColourId, defaultText.withAlpha ((juce::uint8) 0x80) },
        { juce::TextEditor::backgroundColourId, widgetBackground },
        { juce::Label::backgroundColourId, juce::Colour (0x00000000) },
        { juce::Label::textColourId, defaultText },
        { juce::Label::outlineColourId, juce::Colour (0x00000000) },
        { juce::Label::textWhenEditingColourId, defaultText },
        { juce::ScrollBar::backgroundColourId, juce::Colour (0x00000000) },
        { juce::ScrollBar::thumbColourId, juce::Colour (0xffb2b2b2) },
        { juce::ScrollBar::trackColourId, juce::Colour (0x00000000) },
        { juce::TreeView::linesColourId, juce::Colour (0x00000000) },
        { juce::TreeView::backgroundColourId, juce::Colour (0x00000000) },
        { juce::TreeView::dragAndDropIndicatorColourId, outline },
        { juce::TreeView::selectedItemBackgroundColourId, juce::Colour (0x00000000) },
        { juce::TreeView::oddItemsColourId, juce::Colour (0x00000000) },
        { juce::TreeView::evenItemsColourId, juce::Colour (0x00000000) },
        { juce::PropertyComponent::backgroundColourId, widgetBackground },
        { juce::PropertyComponent::labelTextColourId, defaultText },
        { juce::TextPropertyComponent::backgroundColourId, widgetBackground },
        { juce::TextPropertyComponent::textColourId, defaultText },
        { juce::TextPropertyComponent::outlineColourId, outline },
        { juce::BooleanPropertyComponent::backgroundColourId, widgetBackground },
        { juce::BooleanPropertyComponent::outlineColourId, outline },
        { juce::ListBox::backgroundColourId, widgetBackground },
        { juce::ListBox::outlineColourId, outline },
        { juce::ListBox::textColourId, defaultText },
        { juce::Slider::backgroundColourId, widgetBackground },
        { juce::Slider::trackColourId, highlightedFill },
        { juce::Slider::textBoxTextColourId, defaultText },
        { juce::Slider::textBoxBackgroundColourId,
          widgetBackground.withAlpha ((juce::uint8) 0x00) },
        { juce::Slider::textBoxHighlightColourId, defaultFill.withAlpha ((juce::uint8) 0x66) },
        { juce::Slider::textBoxOutlineColourId, outline },
        { juce::ResizableWindow::backgroundColourId, windowBackground },
        { juce::DocumentWindow::textColourId, defaultText },
        { juce::AlertWindow::backgroundColourId, widgetBackground },
        { juce::AlertWindow::textColourId, defaultText },
        { juce::AlertWindow::outlineColourId, outline },
        { juce::ProgressBar::backgroundColourId, widgetBackground },
        { juce::ProgressBar::foregroundColourId, highlightedFill },
        { juce::TooltipWindow::backgroundColourId, highlightedFill },
        { juce::TooltipWindow::textColourId, highlightedText },
        { juce::TooltipWindow::outlineColourId, juce::Colour (0x00000000) },
        { juce::TabbedComponent::backgroundColourId, juce::Colour (0x00000000) },
        { juce::TabbedComponent::outlineColourId, outline },
        { juce::TabbedButtonBar::tabOutlineColourId, outline.withAlpha ((juce::uint8) 0x80) },
        { juce::TabbedButtonBar::frontOutlineColourId, outline },
        { juce::Toolbar::backgroundColourId, headerColour },
        { juce::Toolbar::separatorColourId, headerTextColour },
        { juce::Toolbar::buttonMouseOverBackgroundColourId,
          headerOverlayColour.contrasting (0.2f) },
        { juce::Toolbar::buttonMouseDownBackgroundColourId,
          headerOverlayColour.contrasting (0.5f) },
        { juce::Toolbar::labelTextColourId, headerTextColour },
        // JUCE 7 names this ID editingModeOutlineColourId; older versions called it editorTextColourId.
        { juce::Toolbar::editingModeOutlineColourId, headerTextColour },
        { juce::DrawableButton::textColourId, defaultText },
        { juce::DrawableButton::textColourOnId, highlightedText },
        { juce::DrawableButton::backgroundColourId, juce::Colour (0x00000000) },
        { juce::DrawableButton::backgroundOnColourId, highlightedFill },
        { juce::HyperlinkButton::textColourId,
          defaultText.interpolatedWith (juce::Colours::blue, 0.4f) },
        { juce::GroupComponent::outlineColourId, outline },
        { juce::GroupComponent::textColourId, defaultText },
        { juce::BubbleComponent::backgroundColourId, widgetBackground },
        { juce::BubbleComponent::outlineColourId, outline },
        { juce::DirectoryContentsDisplayComponent::highlightColourId, highlightedFill },
        { juce::DirectoryContentsDisplayComponent::textColourId, menuText },
        { juce::DirectoryContentsDisplayComponent::highlightedTextColourId, highlightedText },
        { juce::LassoComponent<int>::lassoFillColourId, defaultFill },
        { juce::LassoComponent<int>::lassoOutlineColourId, outline },
        { codeEditorComponentBackgroundColourId, widgetBackground },
        { codeEditorComponentHighlightColourId, defaultFill.withAlpha ((juce::uint8) 0x66) },
        { codeEditorComponentDefaultTextColourId, defaultText },
        { codeEditorComponentLineNumberBackgroundId,
          highlightedFill.withAlpha ((juce::uint8) 0x80) },
        { codeEditorComponentLineNumberTextId, defaultFill },
        { colourSelectorBackgroundColourId, widgetBackground },
        { colourSelectorLabelTextColourId, defaultText },
        { keyMappingEditorComponentBackgroundColourId, widgetBackground },
        { keyMappingEditorComponentTextColourId, defaultText },
        { juce::FileSearchPathListComponent::backgroundColourId, menuBackground },
        { juce::FileChooserDialogBox::titleTextColourId, defaultText },
        { juce::SidePanel::backgroundColour, widgetBackground },
        { juce::SidePanel::titleTextColour, defaultText },
        { juce::SidePanel::shadowBaseColour, widgetBackground.darker (0.4f) },
        { juce::SidePanel::dismissButtonNormalColour, defaultFill },
        { juce::SidePanel::dismissButtonOverColour, defaultFill.darker (0.4f) },
        { juce::SidePanel::dismissButtonDownColour, defaultFill.brighter (0.4f) },
        { juce::FileBrowserComponent::currentPathBoxBackgroundColourId, menuBackground },
        { juce::FileBrowserComponent::currentPathBoxTextColourId, menuText },
        { juce::FileBrowserComponent::currentPathBoxArrowColourId, menuText },
        { juce::FileBrowserComponent::filenameBoxBackgroundColourId, menuBackground },
        { juce::FileBrowserComponent::filenameBoxTextColourId, menuText },
        { juce::TextEditor::textColourId, juce::Colour (0xff4e4e4e) },
        { juce::TextEditor::highlightColourId, juce::Colour (0x3327a4bf) },
        { juce::TextEditor::highlightedTextColourId, juce::Colour (0xff4e4e4e) },
        { juce::TextEditor::outlineColourId, outline.withAlpha ((juce::uint8) 0x99) },
        { juce::TextEditor::focusedOutlineColourId, outline },
        { juce::TextEditor::shadowColourId, juce::Colour (0x00000000) },
        { juce::CaretComponent::caretColourId, juce::Colour (0xff4e4e4e) },
        { juce::PopupMenu::backgroundColourId, widgetBackground },
        { juce::PopupMenu::textColourId, defaultText },
        { juce::PopupMenu::headerTextColourId, widgetBackground },
        { juce::PopupMenu::highlightedTextColourId, defaultText },
        { juce::PopupMenu::highlightedBackgroundColourId, widgetBackground.darker (0.2f) },
        { juce::TextButton::buttonColourId, widgetBackground },
        { juce::TextButton::buttonOnColourId, widgetBackground.brighter (0.2f) },
        { juce::TextButton::textColourOnId, defaultText },
        { juce::TextButton::textColourOffId, defaultText },
        { juce::ComboBox::buttonColourId, outline },
        { juce::ComboBox::outlineColourId, outline },
        { juce::ComboBox::textColourId, defaultText },
        { juce::ComboBox::backgroundColourId, widgetBackground },
        { juce::ComboBox::arrowColourId, defaultText },
        { juce::ComboBox::focusedOutlineColourId, outline },
    };
}
