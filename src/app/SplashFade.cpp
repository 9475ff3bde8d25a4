#include "app/SplashFade.h"

#include "app/Aboutinfo.h"

std::vector<int> SplashFadeLevels() {
    std::vector<int> levels;
    for (int level = 1; level < TAboutForm::OpaqueLevel; level += 4)
        levels.push_back(level);
    return levels;
}

void SplashFade(TAboutForm& splash) {
    splash.MakeSplash();
    splash.show();
    for (int level : SplashFadeLevels())
        splash.SetOpacityLevel(level);
}
