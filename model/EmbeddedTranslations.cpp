#include "model/EmbeddedTranslations.h"

#include "resources/BinaryResources.h"

const std::array<EmbeddedTranslation, 2> embeddedTranslations { {
    { reinterpret_cast<const char*> (BinaryResources::translationJa), "ja", "jp", true },
    { reinterpret_cast<const char*> (BinaryResources::translationZhCn), "zh", "cn", true },
} };
