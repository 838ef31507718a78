// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "ffmpeg_inputs.h"
#include "image_decoder.h"
#include "image_folder.h"
#include "make_frames.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace velvix {
namespace {

namespace fs = std::filesystem;
using frames::Job;
using frames::MakeFrames;
using frames::Outcome;

struct ImageKind {
    const char* name;
    int width, height; // the picture: white with a black box of a quarter of its width and five eighths of its height
    std::vector<std::string> encoding;
    std::uintmax_t fileSize; // 0: any
};

void PrintTo(const ImageKind& kind, std::ostream* os) { *os << kind.name; }

class ImageInput : public ::testing::TestWithParam<ImageKind> {};

// Every kind of picture comes out as the same 704-byte frame.
TEST_P(ImageInput, BecomesA704ByteFrameWithTheSamePixels)
{
    const ImageKind& kind = GetParam();
    test::TempFolder temp;
    const fs::path images = temp.path() / "bilder";
    fs::create_directory(images);
    const fs::path image = images / kind.name;
    std::vector<std::string> arguments{"-f",
                                       "lavfi",
                                       "-i",
                                       test::WhiteWithBox(kind.width, kind.height, kind.width * 10 / 156,
                                                          kind.height * 4 / 32, kind.width * 40 / 156,
                                                          kind.height * 20 / 32),
                                       "-frames:v",
                                       "1"};
    arguments.insert(arguments.end(), kind.encoding.begin(), kind.encoding.end());
    test::RunFfmpeg(arguments, image);
    if (kind.fileSize != 0) {
        ASSERT_EQ(fs::file_size(image), kind.fileSize);
    }

    Job job;
    job.input = images;
    job.outputFolder = temp.path() / "frames";
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    ASSERT_EQ(outcome.frameCount, 1);
    const Bytes frame = test::ReadFile(test::WrittenFrame(job.outputFolder, 1));
    EXPECT_EQ(frame.size(), 704u);
    EXPECT_EQ(PackFrame(frame), test::PackedBox(10, 4, 40, 20));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ImageInput,
    ::testing::Values(ImageKind{"B001.BMP", 156, 32, {"-sws_dither", "none", "-pix_fmt", "monob"}, 702},
                      ImageKind{"farbig.bmp", 156, 32, {"-pix_fmt", "bgr24"}, 15030},
                      ImageKind{"grau.png", 156, 32, {"-pix_fmt", "gray"}, 0},
                      ImageKind{"gross.png", 624, 128, {"-pix_fmt", "rgb24"}, 0}),
    [](const auto& info) { return std::string(info.param.name).substr(0, std::string(info.param.name).find('.')); });

// One folder of all those kinds and sizes, read by as few ffmpeg runs as the
// kinds allow: every picture keeps its own shape.
TEST(ImageFolder, MixesKindsAndSizes)
{
    test::TempFolder temp;
    const fs::path images = temp.path() / "bilder";
    fs::create_directory(images);
    const std::vector<std::string> names{"1.png", "2.png", "3.bmp", "4.png", "5.png"};
    const std::vector<std::pair<int, int>> sizes{{156, 32}, {624, 128}, {156, 32}, {312, 64}, {1560, 320}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto [w, h] = sizes[i];
        test::RunFfmpeg({"-f", "lavfi", "-i",
                         test::WhiteWithBox(w, h, w * 10 / 156, h * 4 / 32, w * 40 / 156, h * 20 / 32), "-frames:v",
                         "1"},
                        images / names[i]);
    }
    Job job;
    job.input = images;
    job.outputFolder = temp.path() / "frames";
    int reported = 0;
    const Outcome outcome = MakeFrames(job, [&](int done, int expected) {
        EXPECT_EQ(expected, 5);
        reported = done;
    });
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(reported, 5);
    for (int f = 1; f <= 5; ++f) {
        EXPECT_EQ(PackFrame(test::ReadFile(test::WrittenFrame(job.outputFolder, f))), test::PackedBox(10, 4, 40, 20))
            << "frame " << f;
    }
}

// In a run with others of its kind, every kind of image gives exactly the
// picture it gives alone, and the run leaves nothing in the temporary folder.
TEST(ImageFolder, GivesEachImageInARunThePictureItGivesAlone)
{
    test::TempFolder temp;
    const fs::path images = temp.path() / "bilder";
    const fs::path scratch = temp.path() / "tmp";
    fs::create_directory(images);
    fs::create_directory(scratch);
    std::vector<fs::path> files;
    for (const char* ending :
         {".png", ".jpg", ".jpeg", ".bmp", ".gif", ".tif", ".webp", ".pgm", ".ppm", ".pbm", ".tga"}) {
        for (int i = 0; i < 2; ++i) {
            const int n = static_cast<int>(files.size());
            files.push_back(images / (std::to_string(10 + n) + ending));
            test::RunFfmpeg({"-f", "lavfi", "-i",
                             "testsrc2=size=" + std::to_string(120 + 40 * n) + "x" + std::to_string(90 + 10 * n),
                             "-frames:v", "1"},
                            files.back());
        }
    }
    const auto decode = [](const std::vector<fs::path>& which) {
        std::vector<frames::GreyImage> pictures;
        const auto failure = frames::DecodeImages({}, which, frames::Fit::Fill, [&](frames::GreyImage&& picture) {
            pictures.push_back(std::move(picture));
            return true;
        });
        EXPECT_FALSE(failure) << failure->text;
        return pictures;
    };
    const std::string oldTemp = std::getenv("TMPDIR") != nullptr ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", scratch.c_str(), 1);
    const std::vector<frames::GreyImage> together = decode(files);
    oldTemp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", oldTemp.c_str(), 1);
    EXPECT_TRUE(fs::is_empty(scratch));
    ASSERT_EQ(together.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::vector<frames::GreyImage> alone = decode({files[i]});
        ASSERT_EQ(alone.size(), 1u);
        EXPECT_EQ(alone[0].pixels, together[i].pixels) << files[i];
    }
}

// An animation gives only its first picture, and the pictures after it keep their places.
TEST(ImageFolder, TakesTheFirstPictureOfAnAnimation)
{
    test::TempFolder temp;
    const fs::path images = temp.path() / "bilder";
    fs::create_directory(images);
    const std::string box = test::WhiteWithBox(156, 32, 10, 4, 40, 20);
    test::RunFfmpeg({"-f", "lavfi", "-i", box, "-frames:v", "1"}, images / "1.gif");
    test::RunFfmpeg({"-f", "lavfi", "-i", box + ",negate", "-t", "1", "-r", "5"}, images / "2.gif");
    test::RunFfmpeg({"-f", "lavfi", "-i", box, "-frames:v", "1"}, images / "3.gif");
    test::RunFfmpeg({"-f", "lavfi", "-i", box + ",negate", "-t", "1", "-r", "5", "-f", "apng"}, images / "4.png");
    test::RunFfmpeg({"-f", "lavfi", "-i", box, "-frames:v", "1"}, images / "5.png");
    Job job;
    job.input = images;
    job.outputFolder = temp.path() / "frames";
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    ASSERT_EQ(outcome.frameCount, 5);
    const PackedFrame boxed = test::PackedBox(10, 4, 40, 20);
    for (int f = 1; f <= 5; ++f) {
        const PackedFrame frame = PackFrame(test::ReadFile(test::WrittenFrame(job.outputFolder, f)));
        EXPECT_EQ(frame == boxed, f % 2 == 1) << "frame " << f; // the animations are the negative
    }
}

TEST(ImageFolder, FramesFollowTheNumbersInTheNames)
{
    test::TempFolder temp;
    const fs::path folder = temp.path() / "bilder";
    fs::create_directory(folder);
    // Box positions 0, 40 and 80 in the files bild1, bild2 and bild10; bild10 must come last.
    const std::vector<std::pair<std::string, int>> images{{"bild10.png", 80}, {"bild2.png", 40}, {"Bild1.png", 0}};
    for (const auto& [name, x] : images) {
        test::RunFfmpeg({"-f", "lavfi", "-i", test::WhiteWithBox(156, 32, x, 0, 20, 32), "-frames:v", "1"},
                        folder / name);
    }
    test::WriteFile(folder / "notiz.txt", {'x'});
    Job job;
    job.input = folder;
    job.outputFolder = temp.path() / "frames";
    ASSERT_FALSE(MakeFrames(job, {}).failure);
    for (int f = 1; f <= 3; ++f) {
        EXPECT_EQ(PackFrame(test::ReadFile(test::WrittenFrame(job.outputFolder, f))),
                  test::PackedBox(40 * (f - 1), 0, 20, 32))
            << "frame " << f;
    }
    EXPECT_FALSE(fs::exists(test::WrittenFrame(job.outputFolder, 4)));
}

TEST(ImageFolder, AChosenImageStandsForItsFolderAFilmForItself)
{
    EXPECT_EQ(frames::ChosenInput("/Filme/Bilder/Bild1.PNG"), fs::path("/Filme/Bilder"));
    EXPECT_EQ(frames::ChosenInput("/Filme/Bilder/scan.tiff"), fs::path("/Filme/Bilder"));
    EXPECT_EQ(frames::ChosenInput("/Filme/Urlaub.mp4"), fs::path("/Filme/Urlaub.mp4"));
    EXPECT_EQ(frames::ChosenInput("/Filme/png"), fs::path("/Filme/png"));
}

TEST(ImageFolder, NamesSortAsAPersonReadsThem)
{
    struct Pair {
        const char* before;
        const char* after;
    };
    for (Pair p : {Pair{"Bild9.png", "Bild10.png"}, Pair{"b2", "B10"}, Pair{"img007", "img8"}, Pair{"a", "a1"},
                   Pair{"x10y2", "x10y10"}, Pair{"A.png", "b.png"}}) {
        EXPECT_TRUE(frames::ComesBefore(p.before, p.after)) << p.before << " before " << p.after;
        EXPECT_FALSE(frames::ComesBefore(p.after, p.before)) << p.after << " after " << p.before;
    }
}

struct BadInput {
    const char* name;
    std::function<void(const fs::path& folder, Job& job)> prepare;
    std::vector<std::string> expected; // parts of the message
};

void PrintTo(const BadInput& bad, std::ostream* os) { *os << bad.name; }

void ShortFilm(const fs::path& folder, Job& job)
{
    job.input = folder / "film.mkv";
    test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=1:size=32x16:rate=8", "-c:v", "ffv1"}, job.input);
}

class Refused : public ::testing::TestWithParam<BadInput> {};

TEST_P(Refused, WithAMessageAndNoFrames)
{
    test::TempFolder temp;
    Job job;
    job.outputFolder = temp.path() / "frames";
    GetParam().prepare(temp.path(), job);
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_TRUE(outcome.failure);
    for (const std::string& part : GetParam().expected) {
        EXPECT_NE(outcome.failure->text.find(part), std::string::npos) << outcome.failure->text;
    }
    EXPECT_FALSE(fs::exists(job.outputFolder));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Refused,
    ::testing::Values(
        BadInput{"missing file",
                 [](const fs::path& folder, Job& job) { job.input = folder / "weg.mp4"; },
                 {"weg.mp4", "gibt es nicht"}},
        BadInput{"undecodable file",
                 [](const fs::path& folder, Job& job) {
                     job.input = folder / "kaputt.mp4";
                     test::WriteFile(job.input, {'k', 'e', 'i', 'n', ' ', 'F', 'i', 'l', 'm'});
                 },
                 {"kaputt.mp4“ lässt sich nicht als Film lesen: ffmpeg kennt das Format der Datei nicht",
                  "\r\nBitte einen anderen Film wählen.\r\nDetail von ffmpeg: ", "Invalid data"}},
        BadInput{"film without pictures",
                 [](const fs::path& folder, Job& job) {
                     job.input = folder / "ton.wav";
                     test::RunFfmpeg({"-f", "lavfi", "-i", "sine=duration=1"}, job.input);
                 },
                 {"steckt kein Bild", "ton.wav"}},
        BadInput{"start after the end",
                 [](const fs::path& folder, Job& job) {
                     ShortFilm(folder, job);
                     job.part.start = 5;
                 },
                 {"kein einziges Bild"}},
        BadInput{"missing ffmpeg",
                 [](const fs::path& folder, Job& job) {
                     ShortFilm(folder, job);
                     job.decoders.ffmpeg = "velvix-test-kein-ffmpeg";
                 },
                 {"velvix-test-kein-ffmpeg", "nicht gefunden", "apt-get install ffmpeg"}},
        BadInput{"undecodable image",
                 [](const fs::path& folder, Job& job) {
                     job.input = folder / "bilder";
                     fs::create_directory(job.input);
                     test::WriteFile(job.input / "a.png", {'k', 'e', 'i', 'n'});
                 },
                 {"a.png“ lässt sich nicht als Bild lesen", "Bitte das Bild ersetzen"}},
        BadInput{
            "undecodable image among good ones",
            [](const fs::path& folder, Job& job) {
                job.input = folder / "bilder";
                fs::create_directory(job.input);
                for (const char* name : {"1.png", "3.png"}) {
                    test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=32x16", "-frames:v", "1"}, job.input / name);
                }
                test::WriteFile(job.input / "2.png", {'k', 'e', 'i', 'n'});
            },
            {"2.png“ lässt sich nicht als Bild lesen"}},
        BadInput{"folder without images",
                 [](const fs::path& folder, Job& job) {
                     job.input = folder / "leer";
                     fs::create_directory(job.input);
                 },
                 {"keine Bilder"}},
        BadInput{"300 images",
                 [](const fs::path& folder, Job& job) {
                     job.input = folder / "viele";
                     fs::create_directory(job.input);
                     for (int i = 1; i <= 300; ++i) {
                         test::WriteFile(job.input / ("bild" + std::to_string(i) + ".png"), {'x'});
                     }
                 },
                 {"300 Bilder", "höchstens 299", "--erste-299"}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

} // namespace
} // namespace velvix
