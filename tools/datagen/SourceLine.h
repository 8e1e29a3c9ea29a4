#pragma once

// The readable sources (models, maps, sound recipes) share one line form:
// words separated by white space, '#' starting a comment.
#include <sstream>
#include <string>
#include <vector>

namespace datagen {

inline std::vector<std::string> SourceWords(std::string line)
{
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos)
        line.erase(hash);
    std::istringstream words(line);
    std::vector<std::string> out;
    for (std::string word; words >> word;)
        out.push_back(word);
    return out;
}

}  // namespace datagen
