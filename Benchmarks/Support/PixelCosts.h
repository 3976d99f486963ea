// Where a frame's pixels go, per pixel shader: drawn fragments (passed the depth test) per screen
// pixel, draws, and the time the draws took when each is finished alone. Measured in a child
// over a few frames with the context's draw profiling, printed as figures, read back by the parent.
#pragma once

#include "Support/FreshProcess.h"
#include "vek/Core/Engine.h"
#include "vek/graphics/DX11.h"

#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <string>

namespace QelBenchmark
{
constexpr const char PIXEL_FIGURE[] = "pixels:";

inline double ProcessCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// aFrames engine frames of aDraw with the draws profiled; the figures are per frame. Before them, the
// CPU time of every thread of the process per frame unprofiled: the rasteriser's threads work there,
// and on a shared machine it moves less than the wall time does.
inline void PrintPixelCosts(Qel::Engine& anEngine, int aFrames, const std::function<void()>& aDraw)
{
    Platform::Gfx::Context* context = Qel::DX11::GetContext();
    const Qel::Vector2<int> size = Qel::DX11::GetResolution();
    if (context == nullptr || size.x <= 0 || size.y <= 0 || aFrames <= 0)
    {
        return;
    }
    constexpr int CPU_FRAMES = 60;
    const double cpuStart = ProcessCpuMilliseconds();
    for (int frame = 0; frame < CPU_FRAMES; ++frame)
    {
        anEngine.BeginFrame();
        aDraw();
        anEngine.EndFrame();
    }
    PrintFigure("process-cpu", (ProcessCpuMilliseconds() - cpuStart) / CPU_FRAMES);
    context->ClearDrawCosts();
    context->SetDrawProfiling(true);
    for (int frame = 0; frame < aFrames; ++frame)
    {
        anEngine.BeginFrame();
        aDraw();
        anEngine.EndFrame();
    }
    context->SetDrawProfiling(false);
    const double screens = static_cast<double>(size.x) * size.y * aFrames;
    for (const auto& [shader, cost] : context->GetDrawCosts())
    {
        std::string name = Qel::DX11::GetPixelShaderName(shader);
        name = std::string(PIXEL_FIGURE) + (name.empty() ? std::string("(uncached)") : name) + ":";
        PrintFigure(name + "fragments", static_cast<double>(cost.fragments) / screens);
        PrintFigure(name + "draws", static_cast<double>(cost.draws) / aFrames);
        PrintFigure(name + "ms", cost.milliseconds / aFrames);
    }
    context->ClearDrawCosts();
}

// The shaders' rows from a child's figures: shader name to {"fragments", "draws", "ms"}.
inline std::map<std::string, std::map<std::string, double>>
CollectPixelCosts(const std::map<std::string, double>& someFigures)
{
    std::map<std::string, std::map<std::string, double>> rows;
    for (const auto& [name, value] : someFigures)
    {
        const std::size_t split = name.rfind(':');
        if (name.rfind(PIXEL_FIGURE, 0) == 0 && split > sizeof(PIXEL_FIGURE) - 1)
        {
            const std::size_t start = sizeof(PIXEL_FIGURE) - 1;
            rows[name.substr(start, split - start)][name.substr(split + 1)] = value;
        }
    }
    return rows;
}

// One level's rows and their sums.
inline void PrintPixelCostTable(const std::map<std::string, std::map<std::string, double>>& someRows)
{
    std::map<std::string, double> total;
    for (const auto& [shader, row] : someRows)
    {
        std::map<std::string, double> figures = row;
        std::printf("    %-48s %7.2f %6.0f %8.2f\n", shader.c_str(), figures["fragments"], figures["draws"],
                    figures["ms"]);
        for (const char* what : {"fragments", "draws", "ms"})
        {
            total[what] += figures[what];
        }
    }
    std::printf("    %-48s %7.2f %6.0f %8.2f\n", "all", total["fragments"], total["draws"], total["ms"]);
}
} // namespace QelBenchmark
