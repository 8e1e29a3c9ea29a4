#pragma once

#include "FontSet.h"
#include "TextWriter.h"

#include <string>
#include <vector>

// Every string written with the font's settings at that moment.
class TextRecorder : public TextWriter {
public:
    struct Line {
        std::string text;
        float x, y;
        float r, g, b, a;
        float scaleX, scaleY;
        int align;
    };
    std::vector<Line> lines;

    void Write(FontSet& font, const char* text, float x, float y) override
    {
        lines.push_back(Line{text, x, y, font.colour[0], font.colour[1], font.colour[2], font.colour[3],
                             font.scaleX, font.scaleY, font.align});
    }

    // The last line with this text, or null.
    const Line* Find(const std::string& text) const
    {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it)
            if (it->text == text)
                return &*it;
        return nullptr;
    }
    int Count(const std::string& text) const
    {
        int n = 0;
        for (const Line& line : lines)
            n += line.text == text ? 1 : 0;
        return n;
    }
};
