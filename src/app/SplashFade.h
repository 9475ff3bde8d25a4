#pragma once

#include <vector>

class TAboutForm;

// The opacity levels of the splash fade: from 1 in steps of 4 while below
// 255, so the fade ends at 253 and never reaches full opacity.
std::vector<int> SplashFadeLevels();

// Shows the splash transparent and raises its opacity step by step, repainting
// after each step without a pause.
void SplashFade(TAboutForm& splash);
