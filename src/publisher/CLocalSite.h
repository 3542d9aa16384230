#pragma once

#include <string>
#include <vector>

#include "generator/COutputManifest.h"
#include "publisher/CPublishPlan.h"

class CPagewellDoc;

// The generated site as a publish sees it: exactly the files the generation
// run wrote or found equal, each with its size and hash. The destination's
// list of files, the run's temporary files and anything else in the folder
// stay on this machine.
class CLocalSite {
public:
    // False, naming the file, when one cannot be read.
    static bool Collect(const std::string& folder, const COutputManifest& produced,
        std::vector<CLocalFile>& files, std::string& error);
    // The file name of doc's home page as the run with lowercase names it.
    static std::string HomePageName(const CPagewellDoc& doc, bool bLowercase);
};
