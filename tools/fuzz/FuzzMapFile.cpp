// Map files: the decoder, then (for accepted maps) the templates the loader
// builds from them. A refusal must give one reason line and leave the output
// untouched; an accepted map holds only finite positions, terminated names
// and beams numbered in file order.
#include "FuzzScratch.h"

#include "Entity.h"
#include "Log.h"
#include "MapFile.h"
#include "MapLoader.h"

#include <cmath>
#include <memory>
#include <sstream>
#include <vector>

namespace {

bool Terminated(const char (&name)[kMapNameFieldBytes]) { return name[kMapNameFieldBytes - 1] == '\0'; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MapFileContents out;
    out.targets.resize(1); // a marker a refusal must leave in place
    std::string reason;
    if (!DecodeMapFile(data, size, out, reason)) {
        FUZZ_CHECK(!reason.empty() && reason.find('\n') == reason.size() - 1);
        FUZZ_CHECK(out.beams.empty() && out.actors.empty() && out.targets.size() == 1);
        return 0;
    }
    for (std::size_t i = 0; i < out.beams.size(); ++i) {
        const Beam& b = out.beams[i];
        FUZZ_CHECK(b.id == static_cast<std::uint16_t>(i));
        FUZZ_CHECK(std::isfinite(b.a.x) && std::isfinite(b.a.y) && std::isfinite(b.b.x) && std::isfinite(b.b.y));
    }
    for (const ActorRecord& a : out.actors)
        FUZZ_CHECK(std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.angle) && Terminated(a.name));
    for (const TargetRecord& t : out.targets)
        FUZZ_CHECK(std::isfinite(t.x) && std::isfinite(t.y) && Terminated(t.name));
    for (const RotatorDef& r : out.rotators)
        FUZZ_CHECK(Terminated(r.name) && Terminated(r.targetName) && Terminated(r.activateName));
    for (const MoverDef& m : out.movers)
        FUZZ_CHECK(Terminated(m.name) && Terminated(m.activateName) && std::isfinite(m.area.centre.x));
    const std::size_t records =
        out.actors.size() + out.targets.size() + out.rotators.size() + out.movers.size() + out.triggers.size();
    // Counts are checked against the bytes left, so the records fit the file.
    FUZZ_CHECK(records <= size);

    static std::ostringstream console;
    static Log log("/dev/null", console);
    std::vector<std::unique_ptr<Entity>> templates;
    BuildEntityTemplates(out, templates, log);
    FUZZ_CHECK(templates.size() <= records);
    return 0;
}
