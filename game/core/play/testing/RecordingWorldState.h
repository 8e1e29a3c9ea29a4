#pragma once

#include "WorldDrawState.h"

#include <string>
#include <vector>

// Every render-state call as text, e.g. "Translate(-2000,0)".
class RecordingWorldState : public WorldDrawState {
public:
    std::vector<std::string> calls;

    void BindTexture(unsigned int texture) override { calls.push_back("BindTexture(" + N(texture) + ")"); }
    void SetBlend(int s, int d) override { calls.push_back("SetBlend(" + N(s) + "," + N(d) + ")"); }
    void Finish() override { calls.push_back("Finish()"); }
    void Clear(float r, float g, float b, float a) override
    {
        calls.push_back("Clear(" + N(r) + "," + N(g) + "," + N(b) + "," + N(a) + ")");
    }
    void FullViewport(int w, int h) override { calls.push_back("FullViewport(" + N(w) + "," + N(h) + ")"); }
    void Viewport(int x, int y, int w, int h) override
    {
        calls.push_back("Viewport(" + N(x) + "," + N(y) + "," + N(w) + "," + N(h) + ")");
    }
    void Setup2DView(float w, float h) override { calls.push_back("Setup2DView(" + N(w) + "," + N(h) + ")"); }
    void PushMatrix() override { calls.push_back("PushMatrix()"); }
    void PopMatrix() override { calls.push_back("PopMatrix()"); }
    void Translate(float x, float y) override { calls.push_back("Translate(" + N(x) + "," + N(y) + ")"); }
    void Scale(float x, float y) override { calls.push_back("Scale(" + N(x) + "," + N(y) + ")"); }
    void Rotate(float d) override { calls.push_back("Rotate(" + N(d) + ")"); }
    void DisableBlend() override { calls.push_back("DisableBlend()"); }
    void DisableDepthTest() override { calls.push_back("DisableDepthTest()"); }
    void Present() override { calls.push_back("Present()"); }

    int Count(const std::string& call) const
    {
        int n = 0;
        for (const std::string& c : calls)
            n += c == call ? 1 : 0;
        return n;
    }
    bool Has(const std::string& call) const { return Count(call) > 0; }

private:
    template <typename T>
    static std::string N(T v)
    {
        std::string s = std::to_string(v);
        if (s.find('.') != std::string::npos) {
            while (s.back() == '0')
                s.pop_back();
            if (s.back() == '.')
                s.pop_back();
        }
        return s;
    }
};
