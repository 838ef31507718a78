// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "make_frames.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velvix::frames {

// What the input holds, read once before the work: a film's facts and its
// first picture, or the images of a folder and the first of them.
struct InputSurvey {
    bool folder = false;
    FilmFacts film;
    std::vector<std::filesystem::path> images; // a folder of images only
    std::optional<GreyImage> picture;
    std::optional<Message> failure;
};

InputSurvey SurveyInput(const std::filesystem::path& input, const Decoders& decoders = {});

// A place in the input to look at: tenths of a second into a film, or the
// number of an image (from 0) in a folder.
std::optional<Message> PictureAt(const InputSurvey& survey, const std::filesystem::path& input, int place,
                                 GreyImage& picture);

// A picture as the job makes it a frame.
FramePixels LookOf(const GreyImage& picture, const InputSurvey& survey, const Job& job);

// What a job on the surveyed input gives, in the words the film dialog shows.
struct JobSurvey {
    std::optional<int> frames;  // nothing when the film does not say how long it runs
    bool tooMany = true;        // more than 299 frames, or not known
    std::string count;          // "Das ergibt 18 Bilder."
    std::string firstOnly;      // the offer to take the first 299
    std::string memory;         // frames against the memory of the main window's modules
    bool convertible = false;   // as far as the input and count go
};

// `frameCapacity`: the frames the main window's memory choice holds.
JobSurvey SurveyJob(const InputSurvey& survey, const Job& job, int frameCapacity);

// How many frames the chosen part of a film of `filmSeconds` gives; nothing
// when the film does not say how long it runs and no length is chosen.
std::optional<int> ExpectedFrames(std::optional<double> filmSeconds, const FilmPart& part);

// The input's name as a video name: its letters and digits, by the name rules of a run.
std::string SuggestedVideoName(const std::filesystem::path& input);

// A time as "1:05,3": minutes, seconds and tenths.
std::string Clock(double seconds);

} // namespace velvix::frames
