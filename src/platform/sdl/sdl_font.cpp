#include "platform/sdl/sdl_font.h"

#include <algorithm>
#include <cstdlib>

#include "platform/cp1252.h"
#include "platform/sdl/sdl_font_lookup.h"

namespace platform::sdl {
namespace {

constexpr int kDefaultHeight = 16;

// The point size whose line height is closest to `height` (the smaller one on
// a tie, so that glyphs rather fit their cells).
int pointSizeForHeight(TTF_Font* font, int height) {
    int best = height;
    int bestDistance = -1;
    for (int size = 1; size <= 2 * height + 8; ++size) {
        if (TTF_SetFontSize(font, size) != 0) continue;
        const int distance = std::abs(TTF_FontHeight(font) - height);
        if (bestDistance < 0 || distance < bestDistance) {
            best = size;
            bestDistance = distance;
        }
    }
    return best;
}

bool isBlank(char32_t code) {
    return code <= 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0);
}

}  // namespace

GridFont::~GridFont() { close(); }

bool GridFont::open(const std::string& face, int width, int height, int weight) {
    close();
    const int target = height == 0 ? kDefaultHeight : std::abs(height);
    const auto file = findFixedPitchFont(face, weight);
    if (!file) return false;
    font_ = TTF_OpenFontIndex(file->path.c_str(), target, file->index);
    if (!font_) return false;
    TTF_SetFontSize(font_, pointSizeForHeight(font_, target));
    if (file->embolden) TTF_SetFontStyle(font_, TTF_STYLE_BOLD);

    int advance = 0;
    if (TTF_GlyphMetrics32(font_, 'x', nullptr, nullptr, nullptr, nullptr, &advance) != 0 ||
        advance <= 0)
        advance = std::max(1, TTF_FontHeight(font_) / 2);
    metrics_.averageCharWidth = width > 0 ? width : advance;
    metrics_.height = height == 0 ? TTF_FontHeight(font_) : target;
    metrics_.externalLeading = 0;
    metrics_.ascent = TTF_FontAscent(font_);
    metrics_.overhang = 0;
    return true;
}

void GridFont::close() {
    forgetGlyphs();
    if (font_) TTF_CloseFont(font_);
    font_ = nullptr;
    metrics_ = FontMetrics{};
}

void GridFont::forgetGlyphs() {
    for (SDL_Texture*& texture : glyphs_) {
        if (texture) SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    rendered_.fill(false);
}

SDL_Texture* GridFont::glyph(SDL_Renderer* renderer, std::uint8_t byte) {
    if (rendered_[byte]) return glyphs_[byte];
    rendered_[byte] = true;
    const char32_t code = cp1252::toUnicode(byte);
    if (!font_ || isBlank(code)) return nullptr;
    SDL_Surface* surface = TTF_RenderGlyph32_Blended(font_, code, SDL_Color{255, 255, 255, 255});
    if (!surface) return nullptr;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    if (texture) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    glyphs_[byte] = texture;
    return texture;
}

void GridFont::drawGlyph(SDL_Renderer* renderer, std::uint8_t byte, const SDL_Rect& cell,
                         Rgb colour) {
    SDL_Texture* texture = glyph(renderer, byte);
    if (!texture) return;
    int textureWidth = 0, textureHeight = 0;
    SDL_QueryTexture(texture, nullptr, nullptr, &textureWidth, &textureHeight);
    const int left = cell.x + (cell.w - textureWidth) / 2;
    const int top = cell.y + (cell.h - textureHeight) / 2;
    const int clipLeft = std::max(left, cell.x);
    const int clipTop = std::max(top, cell.y);
    const int clipRight = std::min(left + textureWidth, cell.x + cell.w);
    const int clipBottom = std::min(top + textureHeight, cell.y + cell.h);
    if (clipRight <= clipLeft || clipBottom <= clipTop) return;
    const SDL_Rect source{clipLeft - left, clipTop - top, clipRight - clipLeft,
                          clipBottom - clipTop};
    const SDL_Rect target{clipLeft, clipTop, source.w, source.h};
    SDL_SetTextureColorMod(texture, colour.r, colour.g, colour.b);
    SDL_RenderCopy(renderer, texture, &source, &target);
}

}  // namespace platform::sdl
