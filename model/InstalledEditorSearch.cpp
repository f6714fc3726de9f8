#include "model/InstalledEditorSearch.h"

const char* const excludedEditorBundleIdentifier = "com.larkspire.editor.trial";

std::shared_ptr<LarkspireCharacterInfo> findInstalledEditor (const juce::File& applicationsFolder)
{
    const auto plist = applicationsFolder.getChildFile ("larkspire.app")
                           .getChildFile ("Contents")
                           .getChildFile ("Info.plist");

    if (! plist.exists())
        return nullptr;

    juce::XmlDocument document (plist.loadFileAsString());
    const auto root = document.getDocumentElement();

    if (root == nullptr)
        return nullptr;

    const auto* dict = root->getChildByName ("dict");

    if (dict == nullptr)
        return nullptr;

    juce::String version;
    juce::String identifier;
    const auto count = dict->getNumChildElements();

    for (int i = 0; i < count - 1;)
    {
        const auto* element = dict->getChildElement (i);

        if (element->getTagName() == "key")
        {
            const auto key = element->getAllSubText();

            if (key == "CFBundleVersion")
                version = dict->getChildElement (i + 1)->getAllSubText();
            else if (key == "CFBundleIdentifier")
                identifier = dict->getChildElement (i + 1)->getAllSubText();

            i += 2;
        }
        else
        {
            // Out of step with the key/value pairs: skip this element and the pair after it.
            i += 3;
        }
    }

    if (identifier == excludedEditorBundleIdentifier || version.isEmpty())
        return nullptr;

    auto info = std::make_shared<LarkspireCharacterInfo>();
    info->bundlePath =
        plist.getParentDirectory().getParentDirectory().getFullPathName().toStdString();
    info->executablePath = plist.getParentDirectory()
                               .getChildFile ("MacOS")
                               .getChildFile ("larkspire")
                               .getFullPathName()
                               .toStdString();
    info->version = version.toStdString();
    return info;
}
