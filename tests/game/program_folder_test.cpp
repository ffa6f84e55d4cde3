// Every picture comes from the program folder, whatever folder the player
// starts the game from (a launcher, a terminal in the home folder).
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <string>

#include "tests/test_support/game_fixture.h"

namespace {

using game_test::GameFixture;

// Runs the test inside an empty working folder and goes back afterwards.
class EmptyWorkingFolder {
public:
    EmptyWorkingFolder() {
        char old[PATH_MAX];
        if (getcwd(old, sizeof old)) previous_ = old;
        char tmpl[] = "/tmp/teramon_cwd_XXXXXX";
        folder_ = mkdtemp(tmpl);
        EXPECT_EQ(chdir(folder_.c_str()), 0);
    }
    ~EmptyWorkingFolder() {
        if (!previous_.empty() && chdir(previous_.c_str()) != 0) std::perror("chdir back");
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

private:
    std::string previous_;
    std::string folder_;
};

void ForEachImage(SceneObject* o, const std::function<void(TImage*)>& visit) {
    if (auto* img = dynamic_cast<TImage*>(o)) visit(img);
    for (SceneObject* child : o->Children()) ForEachImage(child, visit);
}

bool UnderProgramFolder(const GameFixture& fx, const std::string& path) {
    return path.rfind(fx.programFolder, 0) == 0 && std::filesystem::is_regular_file(path);
}

TEST(ProgramFolderTest, EveryPictureComesFromTheProgramFolderWhateverTheWorkingFolder) {
    EmptyWorkingFolder cwd;
    ASSERT_FALSE(std::filesystem::exists("Data"));
    GameFixture fx;
    TForm1& f = fx.f();

    // Stones get their pictures when they are dropped.
    for (int i = 0; i < kBlocks; ++i)
        f.DropStone(i / 16, i % 16, i % 2 ? TForm1::StoneKind::Stone : TForm1::StoneKind::WrongAnswer);

    int pictures = 0;
    ForEachImage(&f, [&](TImage* img) {
        ++pictures;
        EXPECT_FALSE(img->Bitmap.IsEmpty()) << "a picture at " << img->Position.X << "," << img->Position.Y
                                            << " (" << img->Width << " x " << img->Height << ") has none";
        EXPECT_TRUE(UnderProgramFolder(fx, img->Bitmap.Path())) << img->Bitmap.Path();
    });
    // 48 blocks, 48 stones, 4 balls and the design's pictures.
    EXPECT_GE(pictures, 48 + 48 + 4 + 10);
    for (TImage* named : {f.Scene().ImgPad, f.Scene().ImgTitle, f.Scene().ImgLogo, f.Scene().ImgMusic, f.Scene().ImgMusicStop, f.Scene().ImgSound, f.Scene().ImgSoundStop,
                          f.Scene().ImgBakuhatu, f.Scene().ImgBall[0], f.Scene().ImgBlock[0]})
        EXPECT_TRUE(UnderProgramFolder(fx, named->Bitmap.Path())) << named->Bitmap.Path();
    EXPECT_TRUE(UnderProgramFolder(fx, f.Fill.Path())) << "background: " << f.Fill.Path();
    EXPECT_TRUE(UnderProgramFolder(fx, fx.music.openPath())) << fx.music.openPath();
}

}  // namespace
