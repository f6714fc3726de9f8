#include "model/ApplicationsFolder.h"

juce::File applicationsFolder()
{
    const auto fromEnvironment =
        juce::SystemStats::getEnvironmentVariable ("LARKSPIRE_APPLICATIONS_DIR", {});

    if (fromEnvironment.isNotEmpty())
        return juce::File::getCurrentWorkingDirectory().getChildFile (fromEnvironment);

#if JUCE_MAC
    return juce::File::getSpecialLocation (juce::File::globalApplicationsDirectory);
#else
    return juce::File ("/opt");
#endif
}
