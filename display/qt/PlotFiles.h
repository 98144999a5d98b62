// A plot drawn into a file of a given size in pixels: a PNG image, an SVG drawing
// or a one-page PDF document (one point per pixel). They need a running
// QGuiApplication for their fonts; without a display, QT_QPA_PLATFORM=offscreen
// gives one. Each returns false with a reason when the file cannot be made, and
// can hand back where the drawing put everything (for reports). The recorded
// picture's mode suits files best: its closed frame fits inside the file, where a
// printed page's right edge would fall just outside.
#pragma once

#include <string>

#include "display/Render.h"

namespace zentrik {

// The largest picture side in pixels: as far as the renderer's positions reach.
inline constexpr int kMaxPictureSide = 16000;

bool write_plot_png(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn = nullptr);
bool write_plot_svg(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn = nullptr);
bool write_plot_pdf(const std::string& path, int width, int height, PlotWindow& window,
                    const RenderOptions& options, PaintMemory& memory, std::string& reason,
                    RenderResult* drawn = nullptr);

}  // namespace zentrik
