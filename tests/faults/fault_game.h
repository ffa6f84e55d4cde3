#pragma once
// The whole game on the virtual clock (the game fixture), restartable over
// folders a test has damaged first, with a few helpers for fault tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "tests/test_support/game_fixture.h"

namespace fault_test {

// The messages of a failed settings save and a failed stroke-record save.
inline const char* const kSettingsSaveFailed = "設定の保存に失敗しました。";
inline const char* const kStrokeSaveFailed = "最小打数の保存に失敗しました。";

inline std::optional<std::string> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct FaultGame : game_test::GameFixture {
    using GameFixture::GameFixture;

    std::filesystem::path MakerFolder() const { return std::filesystem::path(documentsFolder) / "みずうみ舎"; }

    // The program starts again: a new main window over the folders as they are now.
    // With replacement services, the old window goes before the services it used.
    void Restart(std::unique_ptr<GameServices> replacement = nullptr) {
        form->FormDestroy();
        form.reset();
        if (replacement) services = std::move(replacement);
        form = BuildGame(*services);
    }

    // A score-challenge board with its first ball released and played a little.
    void PlayABoard() {
        Key(VK_SHIFT_KEY);
        Play(8000);
    }

    // Minimising saves the game (and pauses it); coming back and [A] plays on.
    void MinimiseAndSave() { Char(u'd'); }
    void ComeBack() {
        form->WindowState = TWindowState::wsNormal;
        form->FormActivate();
        Char(u'a');
    }

    const std::string& Message() const { return form->Scene().LblMsg->Text; }
};

}  // namespace fault_test
