#include "app/StartUp.h"

#include "look/EmbeddedFont.h"
#include "model/InstallerModel.h"

InstallerModel* startUp (FernwaveTheme& theme)
{
    // Without a typeface the theme keeps JUCE's font; the rest still applies.
    installEmbeddedFont (theme);
    juce::Desktop::getInstance().setDefaultLookAndFeel (&theme);
    return InstallerModel::getInstance();
}
