// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "compact_encoder.h"
#include "converter_fixture.h"
#include "display_pictures.h"
#include "ffmpeg_inputs.h"
#include "film_header.h"
#include "film_survey.h"
#include "make_frames.h"
#include "memory_fit.h"
#include "messages.h"
#include "player_tstates.h"
#include "preview_video.h"

#include <gtest/gtest.h>

namespace velvix {
namespace {

namespace fs = std::filesystem;
using frames::Job;
using frames::MakeFrames;
using frames::Outcome;

Bytes FrameAt(const fs::path& folder, int number) { return test::ReadFile(test::WrittenFrame(folder, number)); }

// Frames written by the tool go through a whole Velvix run.
class FilmToVelvix : public ::testing::Test, public test::ConverterFixture {
protected:
    test::TempFolder films;

    Outcome make(const fs::path& film)
    {
        Job job;
        job.input = film;
        job.outputFolder = folder.path();
        return MakeFrames(job, {});
    }
};

TEST_F(FilmToVelvix, TestPatternFramesPassARunAndFillThePartFile)
{
    const fs::path film = films.path() / "muster.mkv";
    test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=2:size=320x240:rate=25", "-c:v", "ffv1"}, film);
    const Outcome outcome = make(film);
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    ASSERT_EQ(outcome.frameCount, 12); // 2 seconds at 6 frames per second

    start();
    EXPECT_EQ(host.messages, std::vector<Message>{messages::Completion(0)});
    const Bytes part = output("FILM0.VID");
    ASSERT_EQ(part.size(), 16u + 625 * 12 + 4);
    for (int f = 1; f <= 12; ++f) {
        const Bytes frame = FrameAt(folder.path(), f);
        ASSERT_EQ(frame.size(), 704u) << "frame " << f;
        const PackedFrame packed = PackFrame(frame);
        const auto record = part.begin() + static_cast<std::ptrdiff_t>(17 + 625 * (12 - f)); // highest first
        EXPECT_TRUE(std::equal(packed.begin(), packed.end(), record)) << "frame " << f;
        EXPECT_EQ(record[624], 23);
    }
    EXPECT_NE(PackFrame(FrameAt(folder.path(), 1)), PackFrame(FrameAt(folder.path(), 12))); // the counter moves
}

TEST_F(FilmToVelvix, KnownPictureArrivesDotForDotInThePartFile)
{
    // The top left quarter black: after halving, columns 0 to 77 of rows 0 to 15.
    const fs::path film = films.path() / "viertel.mkv";
    test::RunFfmpeg({"-f", "lavfi", "-i", test::WhiteWithBox(312, 64, 0, 0, 156, 32), "-t", "3", "-c:v", "ffv1"}, film);
    const Outcome outcome = make(film);
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    ASSERT_EQ(outcome.frameCount, 18);

    start();
    EXPECT_EQ(host.messages, std::vector<Message>{messages::Completion(0)});
    const Bytes part = output("FILM0.VID");
    ASSERT_EQ(part.size(), 16u + 625 * 18 + 4);
    for (int record = 0; record < 18; ++record) {
        for (int band = 0; band < 4; ++band) {
            for (int x = 0; x < 156; ++x) {
                const std::uint8_t expected = band < 2 && x < 78 ? 0xFF : 0x00;
                ASSERT_EQ(part[static_cast<std::size_t>(17 + 625 * record + 156 * band + x)], expected)
                    << "record " << record << ", band " << band << ", column " << x;
            }
        }
    }
}

// A 40 s film in "Kompakt": at least three times the plain format's frames in
// base memory and in 16 KB, each shown as written by the compact player's own
// bytes, and the video as long as the plain player would show those frames.
TEST_F(FilmToVelvix, FortySecondsInKompaktFitThriceThePlainFramesAndPlayOnTime)
{
    const fs::path film = films.path() / "vierzig.mp4";
    test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc2=duration=40:size=640x360:rate=25", "-c:v", "libx264", "-preset",
                     "veryfast", "-pix_fmt", "yuv420p"},
                    film);
    ASSERT_EQ(make(film).frameCount, 240);
    host.ticked[CheckBox::CheckKompakt] = true;
    for (const auto& [slot1, plain] : {std::pair{0, 18}, std::pair{2, 45}}) {
        SCOPED_TRACE(std::to_string(plain) + " frames plain");
        chooseMemory(slot1, 0);
        start();
        ASSERT_EQ(titles().back(), "Fertig");
        const int fit = converter.settings().frameCount;
        EXPECT_GE(fit, 3 * plain);

        const PreviewResult preview = LoadPreview(folder.path(), "FILM");
        ASSERT_TRUE(preview.video) << preview.failure->text;
        ASSERT_EQ(preview.video->frames.size(), static_cast<std::size_t>(fit));
        for (int f = 1; f <= fit; ++f) {
            ASSERT_EQ(preview.video->frames[static_cast<std::size_t>(f - 1)].screen, PackFrame(FrameAt(folder.path(), f)))
                << "frame " << f;
        }
        const double plainMs = fit * (1000.0 / 6 + 1000.0 * static_cast<double>(PlainFrameTStates(23)) / kClockHz);
        EXPECT_NEAR(static_cast<double>(preview.video->timeline().totalMs()), plainMs, plainMs / 100);
    }
}

struct Stretch {
    int rate;
    std::optional<double> start;
    std::optional<double> length;
    int frames;
};

void PrintTo(const Stretch& s, std::ostream* os)
{
    *os << s.rate << " per second from " << s.start.value_or(0) << " for " << s.length.value_or(-1);
}

class FilmStretch : public ::testing::TestWithParam<Stretch> {};

TEST_P(FilmStretch, GivesItsNumberOfFramesAllAlike)
{
    test::TempFolder temp;
    const fs::path film = temp.path() / "film.mkv";
    test::RunFfmpeg({"-f", "lavfi", "-i", test::WhiteWithBox(156, 32, 100, 8, 40, 16), "-t", "3", "-c:v", "ffv1"},
                    film);
    Job job;
    job.input = film;
    job.outputFolder = temp.path() / "bilder";
    job.part = {GetParam().rate, GetParam().start, GetParam().length};
    int reported = 0;
    const Outcome outcome = MakeFrames(job, [&](int done, int) { reported = done; });
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(outcome.frameCount, GetParam().frames);
    EXPECT_EQ(reported, GetParam().frames);
    const PackedFrame expected = test::PackedBox(100, 8, 40, 16);
    for (int f = 1; f <= GetParam().frames; ++f) {
        EXPECT_EQ(PackFrame(FrameAt(job.outputFolder, f)), expected) << "frame " << f;
    }
    EXPECT_FALSE(fs::exists(test::WrittenFrame(job.outputFolder, GetParam().frames + 1)));
}

INSTANTIATE_TEST_SUITE_P(RatesAndStretches, FilmStretch,
                         ::testing::Values(Stretch{4, {}, {}, 12}, Stretch{5, {}, {}, 15}, Stretch{6, {}, {}, 18},
                                           Stretch{8, {}, {}, 24}, Stretch{6, 1.0, 1.0, 6}, Stretch{4, 2.5, {}, 2},
                                           Stretch{8, {}, 0.5, 4}),
                         [](const auto& info) {
                             const Stretch& s = info.param;
                             return "rate" + std::to_string(s.rate) + (s.start ? "_late" : "") +
                                    (s.length ? "_short" : "");
                         });

TEST(AnamorphicFilm, KeepsTheShapeOfItsPicture)
{
    test::TempFolder temp;
    Job job;
    job.input = temp.path() / "breit.mkv";
    job.outputFolder = temp.path() / "bilder";
    job.fit = frames::Fit::Bars;
    // 64 x 32 pixels, each twice as wide as high: a black picture 128 dots wide.
    test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=64x32,setsar=2", "-t", "0.2", "-c:v", "ffv1"}, job.input);
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(PackFrame(FrameAt(job.outputFolder, 1)), test::PackedBox(14, 0, 128, 32));
}

// A large film is reduced by ffmpeg before our own fit; the dots stay the same.
TEST(LargeFilm, KeepsItsDotsWhenReducedFirst)
{
    test::TempFolder temp;
    Job job;
    job.input = temp.path() / "gross.mkv";
    job.outputFolder = temp.path() / "bilder";
    test::RunFfmpeg(
        {"-f", "lavfi", "-i", test::WhiteWithBox(1560, 320, 1000, 80, 400, 160), "-t", "0.5", "-c:v", "ffv1"},
        job.input);
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(outcome.frameCount, 3);
    EXPECT_EQ(PackFrame(FrameAt(job.outputFolder, 3)), test::PackedBox(100, 8, 40, 16));
    EXPECT_TRUE(outcome.notes.empty()); // the film has the display's shape: nothing cut off
}

// What a run that succeeds still has to tell.
TEST(FilmNotes, SayWhenTheStretchEndsEarlyOrMostOfThePictureIsCutOff)
{
    test::TempFolder temp;
    Job job;
    job.input = temp.path() / "film.mkv";
    job.outputFolder = temp.path() / "bilder";
    job.part.length = 10;
    test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=64x48", "-t", "2", "-c:v", "ffv1"}, job.input);
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(outcome.frameCount, 12);
    ASSERT_EQ(outcome.notes.size(), 2u);
    EXPECT_NE(outcome.notes[0].find("nur 2 Sekunden"), std::string::npos) << outcome.notes[0];
    EXPECT_NE(outcome.notes[1].find("73 % des Filmbilds oben und unten"), std::string::npos)
        << outcome.notes[1]; // 4:3 in 156:32
}

TEST(Cancel, StopsTheWorkAndWritesNothing)
{
    test::TempFolder temp;
    Job job;
    job.input = temp.path() / "film.mkv";
    job.outputFolder = temp.path() / "bilder";
    job.preview = temp.path() / "bogen.png";
    std::atomic<bool> cancel = false;
    job.cancel = &cancel;
    test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=64x48", "-t", "3", "-c:v", "ffv1"}, job.input);
    int reported = 0;
    const Outcome outcome = MakeFrames(job, [&](int done, int) {
        reported = done;
        cancel = done == 4;
    });
    EXPECT_TRUE(outcome.cancelled);
    ASSERT_TRUE(outcome.failure);
    EXPECT_NE(outcome.failure->text.find("Abgebrochen"), std::string::npos);
    EXPECT_EQ(reported, 4);
    EXPECT_FALSE(fs::exists(job.outputFolder));
    EXPECT_FALSE(fs::exists(job.preview));
    // The film alone: nor are the frames written so far left beside.
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1);
}

class LongFilm : public ::testing::Test {
protected:
    test::TempFolder temp;
    fs::path film = temp.path() / "lang.mkv";
    Job job;

    void SetUp() override
    {
        // 40 seconds at 8 frames per second: 320 frames.
        test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc=duration=40:size=32x16:rate=8", "-c:v", "ffv1"}, film);
        job.input = film;
        job.outputFolder = temp.path() / "bilder";
        job.part.rate = 8;
    }
};

TEST_F(LongFilm, IsRefusedWithItsFrameCountAndNothingWritten)
{
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_TRUE(outcome.failure);
    EXPECT_NE(outcome.failure->text.find("etwa 320 Bilder"), std::string::npos) << outcome.failure->text;
    EXPECT_NE(outcome.failure->text.find("--erste-299"), std::string::npos);
    EXPECT_FALSE(fs::exists(job.outputFolder));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), fs::directory_iterator()), 1); // nothing beside
}

TEST_F(LongFilm, GivesItsFirst299FramesWhenAskedTo)
{
    job.firstFramesOnly = true;
    const Outcome outcome = MakeFrames(job, {});
    ASSERT_FALSE(outcome.failure) << outcome.failure->text;
    EXPECT_EQ(outcome.frameCount, 299);
    EXPECT_EQ(FrameAt(job.outputFolder, 299).size(), 704u);
    EXPECT_FALSE(fs::exists(test::WrittenFrame(job.outputFolder, 300)));
}

struct Header {
    const char* name;
    const char* log;
    frames::FilmFacts facts;
};

void PrintTo(const Header& h, std::ostream* os) { *os << h.name; }

class FilmHeader : public ::testing::TestWithParam<Header> {};

// The facts come from the lines ffmpeg logs about its input, and from no other.
TEST_P(FilmHeader, GivesTheFactsOfTheInputOnly)
{
    const frames::FilmFacts facts = frames::ReadFilmHeader(GetParam().log);
    const frames::FilmFacts& expected = GetParam().facts;
    EXPECT_EQ(facts.opened, expected.opened);
    EXPECT_EQ(facts.hasPicture, expected.hasPicture);
    EXPECT_EQ(facts.seconds, expected.seconds);
    EXPECT_EQ(facts.width, expected.width);
    EXPECT_EQ(facts.height, expected.height);
    EXPECT_EQ(facts.pixelAspect, expected.pixelAspect);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, FilmHeader,
    ::testing::Values(
        Header{"h264",
               "[info] Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'file:/a.mp4':\n"
               "[info]   Duration: 00:01:40.50, start: 0.000000, bitrate: 285 kb/s\n"
               "[info]   Stream #0:0(und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(progressive), 1280x720 "
               "[SAR 1:1 DAR 16:9], 25 fps, 25 tbr, 12800 tbn (default)\n"
               "[info] Output #0, image2pipe, to 'pipe:1':\n"
               "[info]   Stream #0:0: Video: pgm, gray, 624x351 [SAR 1:1 DAR 16:9], q=2-31, 6 fps\n",
               {true, true, 100.5, 1280, 720, 1}},
        Header{"anamorphic, sound first",
               "[info] Input #0, matroska,webm, from 'file:/b.mkv':\n"
               "[info]   Duration: 00:00:02.00, start: 0.000000, bitrate: 141 kb/s\n"
               "[info]   Stream #0:0: Audio: vorbis, 44100 Hz, stereo, fltp\n"
               "[info]   Stream #0:1: Video: ffv1 (FFV1 / 0x31564646), bgr0(pc, gbr/unknown/unknown, progressive), "
               "720x576, SAR 64:45 DAR 16:9, 25 fps\n",
               {true, true, 2.0, 720, 576, 64.0 / 45}},
        Header{"sound only, length unknown",
               "[info] Input #0, wav, from 'file:/t.wav':\n[info]   Duration: N/A, bitrate: 706 kb/s\n"
               "[info]   Stream #0:0: Audio: pcm_s16le, 44100 Hz, mono, s16, 705 kb/s\n"
               "[fatal] Stream map '0:v:0' matches no streams.\n",
               {true, false, std::nullopt, 0, 0, 1}},
        Header{"not a film",
               "[mov,mp4,m4a,3gp,3g2,mj2 @ 0x55] [error] moov atom not found\n"
               "[error] file:/k.mp4: Invalid data found when processing input\n",
               {false, false, std::nullopt, 0, 0, 1}}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

// What the film dialog shows comes from the library: a folder of images counts its images.
TEST(Survey, OfAFolderCountsItsImagesAndNamesTheVideo)
{
    test::TempFolder temp;
    const fs::path images = temp.path() / "Ferien 2024.bilder";
    fs::create_directory(images);
    for (const char* name : {"1.png", "2.png"}) {
        test::RunFfmpeg({"-f", "lavfi", "-i", "color=black:s=32x16", "-frames:v", "1"}, images / name);
    }
    const frames::InputSurvey survey = frames::SurveyInput(images);
    ASSERT_FALSE(survey.failure) << survey.failure->text;
    ASSERT_TRUE(survey.picture);
    Job job;
    const frames::JobSurvey said = frames::SurveyJob(survey, job, 1);
    EXPECT_EQ(said.count, "Das ergibt 2 Bilder.");
    EXPECT_EQ(said.firstOnly, "nur die ersten 299 Bilder nehmen"); // a folder has no time
    EXPECT_EQ(said.memory, "Speicher: 2 Bilder brauchen 2 KB auf dem PC-1600; die Module im Hauptfenster fassen 1 "
                           "Bilder (1 KB). Die Videokompression spart ähnliche Bilder ein; was dann noch nicht passt, "
                           "lässt Start am Ende weg.");
    EXPECT_TRUE(said.convertible);
    EXPECT_EQ(frames::SuggestedVideoName(images), "FERIEN2");
    EXPECT_EQ(frames::Clock(3725.34), "62:05,3");
}

// The fit the film dialog shows is what a compact run of the same frames
// holds, for each method, from one reading of the film.
TEST(Survey, FitInMemoryCountsTheFramesACompactRunHolds)
{
    test::TempFolder temp;
    Job job;
    job.input = temp.path() / "film.mkv";
    test::RunFfmpeg({"-f", "lavfi", "-i", "testsrc2=duration=10:size=320x120:rate=25", "-c:v", "ffv1"}, job.input);
    job.oneBit.brightness = 20;
    int reported = 0;
    const frames::DisplayPictures read = frames::ReadDisplayPictures(job, [&](int done, int) { reported = done; });
    ASSERT_FALSE(read.failure) << read.failure->text;
    ASSERT_EQ(read.pictures.size(), 60u);
    EXPECT_EQ(reported, 60);
    const frames::MemoryFit fit = frames::FitInMemory(read.pictures, job.oneBit, 6, 18);
    EXPECT_EQ(fit.frames, 60);
    EXPECT_EQ(fit.plain, 18);
    for (std::size_t m = 0; m < frames::kMethods.size(); ++m) {
        job.oneBit.method = frames::kMethods[m].method;
        job.outputFolder = temp.path() / std::to_string(m);
        ASSERT_EQ(MakeFrames(job, {}).frameCount, 60);
        std::vector<PackedFrame> written;
        for (int f = 1; f <= 60; ++f) {
            written.push_back(PackFrame(FrameAt(job.outputFolder, f)));
        }
        const int compact = EncodeCompactVideo(written, std::vector<std::uint8_t>(60, 23), 6, 18).frameCount;
        EXPECT_EQ(fit.compact[m], compact) << frames::kMethods[m].name;
        EXPECT_GT(compact, 18) << frames::kMethods[m].name;
    }
}

TEST(Survey, FitTextNamesTheMethodThatFitsMore)
{
    // By entry of the list: Bayer, Floyd-Steinberg, Atkinson, Schwelle.
    const struct {
        frames::MemoryFit fit;
        frames::Method chosen;
        const char* text;
    } cases[] = {
        {{45, 45, {45, 45, 45, 45}},
         frames::Method::Bayer,
         "Passen in den Speicher: alle 45 Bilder, auch ohne „Kompakt“."},
        {{240, 45, {152, 60, 90, 210}},
         frames::Method::Bayer,
         "Passen in den Speicher: 45 Bilder, mit „Kompakt“ 152 bei Bayer (ruhig); mit Schwelle passen 210."},
        {{240, 45, {152, 60, 90, 240}},
         frames::Method::FloydSteinberg,
         "Passen in den Speicher: 45 Bilder, mit „Kompakt“ 60 bei Floyd-Steinberg; mit Schwelle passen alle 240."},
        {{240, 45, {152, 60, 152, 90}},
         frames::Method::Atkinson,
         "Passen in den Speicher: 45 Bilder, mit „Kompakt“ 152 bei Atkinson; mit keinem anderen Verfahren passen "
         "mehr."},
        {{100, 45, {100, 60, 90, 100}},
         frames::Method::Threshold,
         "Passen in den Speicher: 45 Bilder, mit „Kompakt“ alle 100 bei Schwelle."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frames::FitText(c.fit, c.chosen), c.text);
    }
}

} // namespace
} // namespace velvix
