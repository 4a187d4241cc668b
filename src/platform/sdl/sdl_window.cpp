// The window and its pixels: everything is drawn into a target texture of the
// window's size, which present() copies to the screen with the caret on top.
#include <cstdio>

#include "platform/cp1252.h"
#include "platform/sdl/sdl_driver.h"

namespace platform::sdl {
namespace {

constexpr int kFallbackHeight = 16;
constexpr Rgb kCaretColour{0xE0, 0xE0, 0xE0};
constexpr int kUnknownScreenWidth = 1920, kUnknownScreenHeight = 1080;

}  // namespace

SDL_Texture* SdlDriver::makeTargetTexture(int width, int height) {
    SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                             SDL_TEXTUREACCESS_TARGET, width, height);
    if (!texture) return nullptr;
    // Copies between these textures must be exact, and a magnified picture
    // shows sharp pixels rather than a blur.
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return texture;
}

bool SdlDriver::createWindow(const std::string& title, int outerWidth, int outerHeight,
                             bool maximized, int /*columns*/, int /*rows*/) {
    if (!started_) return false;
    destroyWindow();
    // The grid has a fixed size: a maximized console is exactly the grid at
    // the top-left corner of the screen.
    const int position = maximized ? 0 : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
    window_ = SDL_CreateWindow(cp1252::toUtf8(title).c_str(), position, position, outerWidth,
                               outerHeight, SDL_WINDOW_SHOWN);
    if (window_) {
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_TARGETTEXTURE);
        if (!renderer_)
            renderer_ =
                SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    if (renderer_) canvas_ = makeTargetTexture(outerWidth, outerHeight);
    if (!canvas_) {
        std::fprintf(stderr, "ORALIS: não foi possível criar a janela (SDL: %s).\n",
                     SDL_GetError());
        destroyWindow();
        return false;
    }
    width_ = outerWidth;
    height_ = outerHeight;
    SDL_SetRenderTarget(renderer_, canvas_);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    present();
    // A new window takes the focus, as it does on Windows.
    SDL_RaiseWindow(window_);
    SDL_StartTextInput();
    return true;
}

void SdlDriver::destroyTextures() {
    chosenFont_.forgetGlyphs();
    fallbackFont_.forgetGlyphs();
    for (SDL_Texture** texture : {&canvas_, &scratch_, &snapshot_}) {
        if (*texture) SDL_DestroyTexture(*texture);
        *texture = nullptr;
    }
}

void SdlDriver::destroyWindow() {
    destroyTextures();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    width_ = height_ = 0;
    caret_.reset();
}

void SdlDriver::setTitle(const std::string& title) {
    if (window_) SDL_SetWindowTitle(window_, cp1252::toUtf8(title).c_str());
}

bool SdlDriver::windowIsActive() {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

int SdlDriver::windowBottom() {
    if (!window_) return 0;
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &width, &height);
    return y + height;
}

SystemMetrics SdlDriver::systemMetrics() {
    // The SDL window's size is its client area: no frame, no caption.
    SystemMetrics metrics;
    metrics.frameWidth = metrics.frameHeight = metrics.captionHeight = 0;
    metrics.screenWidth = kUnknownScreenWidth;
    metrics.screenHeight = kUnknownScreenHeight;
    int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    if (display < 0) display = 0;
    SDL_DisplayMode mode{};
    if (started_ && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        metrics.screenWidth = mode.w;
        metrics.screenHeight = mode.h;
    }
    return metrics;
}

GridFont& SdlDriver::activeFont() {
    if (chosenFont_.isOpen()) return chosenFont_;
    if (!fallbackTried_ && ttfStarted_) {
        fallbackTried_ = true;
        if (!fallbackFont_.open("monospace", 0, kFallbackHeight, 0))
            std::fprintf(stderr, "ORALIS: nenhuma fonte de largura fixa encontrada (%s).\n",
                         TTF_GetError());
    }
    return fallbackFont_;
}

bool SdlDriver::createFont(const std::string& face, int width, int height, int weight) {
    return ttfStarted_ && chosenFont_.open(face, width, height, weight);
}

void SdlDriver::deleteFont() { chosenFont_.close(); }

FontMetrics SdlDriver::fontMetrics() { return activeFont().metrics(); }

void SdlDriver::fillRect(const SDL_Rect& rect, Rgb colour) {
    SDL_SetRenderDrawColor(renderer_, colour.r, colour.g, colour.b, 255);
    SDL_RenderFillRect(renderer_, &rect);
}

void SdlDriver::drawText(int x, int y, const std::string& text, Rgb foreground, Rgb background) {
    if (!renderer_ || text.empty()) return;
    GridFont& font = activeFont();
    const FontMetrics& metrics = font.metrics();
    const int cellWidth = metrics.averageCharWidth;
    const int cellHeight = metrics.height + metrics.externalLeading;
    const int count = static_cast<int>(text.size());
    fillRect(SDL_Rect{x, y, cellWidth * count, cellHeight}, background);
    for (int i = 0; i < count; ++i) {
        const SDL_Rect cell{x + i * cellWidth, y, cellWidth, cellHeight};
        font.drawGlyph(renderer_, static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]),
                       cell, foreground);
    }
}

void SdlDriver::scrollUp(int top, int height, int by, Rgb fill) {
    if (!renderer_ || height <= 0 || by <= 0) return;
    if (by >= height) {
        fillRect(SDL_Rect{0, top, width_, height}, fill);
        return;
    }
    const int moving = height - by;
    if (!scratch_) scratch_ = makeTargetTexture(width_, height_);
    if (!scratch_) return;
    const SDL_Rect from{0, top + by, width_, moving};
    const SDL_Rect parked{0, 0, width_, moving};
    const SDL_Rect to{0, top, width_, moving};
    SDL_SetRenderTarget(renderer_, scratch_);
    SDL_RenderCopy(renderer_, canvas_, &from, &parked);
    SDL_SetRenderTarget(renderer_, canvas_);
    SDL_RenderCopy(renderer_, scratch_, &parked, &to);
    fillRect(SDL_Rect{0, top + moving, width_, by}, fill);
}

void SdlDriver::present() {
    if (!renderer_ || !canvas_) return;
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    const SDL_Rect whole{0, 0, width_, height_};
    SDL_RenderCopy(renderer_, canvas_, nullptr, &whole);
    if (caret_) {
        SDL_SetRenderDrawColor(renderer_, kCaretColour.r, kCaretColour.g, kCaretColour.b, 255);
        SDL_RenderFillRect(renderer_, &*caret_);
    }
    SDL_RenderPresent(renderer_);
    SDL_SetRenderTarget(renderer_, canvas_);
}

// The caret shows at the next present(), which the common part asks for.
void SdlDriver::showCaret(int x, int y, int width, int height) {
    caret_ = SDL_Rect{x, y, width, height};
}

void SdlDriver::hideCaret() { caret_.reset(); }

void SdlDriver::takeSnapshot(int /*width*/, int /*height*/) {
    releaseSnapshot();
    if (!renderer_) return;
    // The whole canvas is kept; the caller's size is that of the window.
    snapshot_ = makeTargetTexture(width_, height_);
    if (!snapshot_) return;
    SDL_SetRenderTarget(renderer_, snapshot_);
    SDL_RenderCopy(renderer_, canvas_, nullptr, nullptr);
    SDL_SetRenderTarget(renderer_, canvas_);
}

void SdlDriver::drawSnapshotStretched(int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                      int width, int height) {
    if (!renderer_ || !snapshot_) return;
    const SDL_Rect source{sourceX, sourceY, sourceWidth, sourceHeight};
    const SDL_Rect target{0, 0, width, height};
    SDL_RenderCopy(renderer_, snapshot_, &source, &target);
}

void SdlDriver::releaseSnapshot() {
    if (snapshot_) SDL_DestroyTexture(snapshot_);
    snapshot_ = nullptr;
}

}  // namespace platform::sdl
