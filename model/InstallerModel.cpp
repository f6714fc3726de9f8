#include "model/InstallerModel.h"

#include "model/ApplicationsFolder.h"
#include "model/DownloadFolderSearch.h"
#include "model/EditorHandOff.h"
#include "model/LanguageChoice.h"
#include "model/LanguageList.h"
#include "model/ModelIcons.h"
#include "model/SystemLocale.h"
#include "tasks/BackgroundThreads.h"

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

    // The last singleton to go at shutdown: after it the message manager and the exit handlers
    // go, which no thread of ours may still be using. The cancel cuts a request or a retry pause
    // short within about a second; the bound keeps a thread stuck elsewhere from holding up
    // the quit.
    BackgroundThreads::get().waitForAll (2000);
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
