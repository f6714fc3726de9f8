#include "model/InstallerModel.h"

#include "model/ApplicationsFolder.h"
#include "model/DownloadFolderSearch.h"
#include "model/EditorHandOff.h"
#include "model/LanguageChoice.h"
#include "model/LanguageList.h"
#include "model/ModelIcons.h"
#include "model/SystemLocale.h"

JUCE_IMPLEMENT_SINGLETON (InstallerModel)

InstallerModel::InstallerModel()
{
    productName = "Larkspire";
    downloadFolder = findDefaultDownloadFolder();
    outcomeFlags = 0;

    // Read before either icon exists; the application installs its theme before building us.
    const auto textColour = defaultLookAndFeelTextColour();
    logo = createLogoDrawable();
    languageIcon = createLanguageIconDrawable (textColour);

    currentLanguage = nullptr;
    languages = buildLanguageList();
    setLanguage (chooseLanguage (languages, currentSystemLocale()));

    runInstalledEditorStep (installedProduct, applicationsFolder());

    if (installedProduct == nullptr)
        requestRunInfoCheck();
}

InstallerModel::~InstallerModel()
{
    updateTask.cancel();
    clearSingletonInstance();
}

void InstallerModel::setLanguage (const LanguageEntry* entry)
{
    if (entry == currentLanguage)
        return;

    auto* mappings = (entry != nullptr && entry->translations.has_value())
                         ? new juce::LocalisedStrings (*entry->translations)
                         : nullptr;
    juce::LocalisedStrings::setCurrentMappings (mappings);
    currentLanguage = entry;
}
