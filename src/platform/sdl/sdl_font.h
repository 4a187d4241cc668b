// A fixed-pitch font drawn cell by cell into the character grid with SDL_ttf.
#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace platform::sdl {

class GridFont {
public:
    GridFont() = default;
    GridFont(const GridFont&) = delete;
    GridFont& operator=(const GridFont&) = delete;
    ~GridFont();

    // Opens the fixed-pitch font that best fits the request at the point size
    // whose line height is closest to `height` (0 width, height or weight:
    // the glyphs' own width, 16 pixels, normal). False leaves no font open.
    bool open(const std::string& face, int width, int height, int weight);
    void close();
    bool isOpen() const { return font_ != nullptr; }
    const FontMetrics& metrics() const { return metrics_; }

    // Draws the glyph of a Windows-1252 byte centred in `cell` and clipped to
    // it, so that a glyph wider than the cell never spills into its neighbour.
    void drawGlyph(SDL_Renderer* renderer, std::uint8_t byte, const SDL_Rect& cell, Rgb colour);
    // Releases the glyph textures; they belong to a renderer about to go away.
    void forgetGlyphs();

private:
    SDL_Texture* glyph(SDL_Renderer* renderer, std::uint8_t byte);

    TTF_Font* font_ = nullptr;
    FontMetrics metrics_;
    // Glyphs are rendered once in white and tinted with the texture's colour
    // modulation, so one texture per byte serves every colour.
    std::array<SDL_Texture*, 256> glyphs_{};
    std::array<bool, 256> rendered_{};
};

}  // namespace platform::sdl
