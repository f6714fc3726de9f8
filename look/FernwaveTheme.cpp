#include "look/FernwaveTheme.h"

FernwaveTheme::FernwaveTheme() = default;
FernwaveTheme::~FernwaveTheme() = default;
