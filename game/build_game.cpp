#include "game/build_game.h"

void StartGame(TForm1& form, const GameBuildSteps& steps) {
    if (steps.beforeCreate) steps.beforeCreate(form);
    form.FormCreate();
    if (steps.beforeShow) steps.beforeShow(form);
    form.FormShow();
}

std::unique_ptr<TForm1> BuildGame(GameServices& services, const GameBuildSteps& steps) {
    auto form = std::make_unique<TForm1>(services);
    StartGame(*form, steps);
    return form;
}
