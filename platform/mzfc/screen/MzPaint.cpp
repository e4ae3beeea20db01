#include "screen/MzPaint.h"

#include "ce/CeUtf16.h"
#include "screen/MzBitmap.h"
#include "screen/MzFont.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <vector>

namespace {

// The screen rectangle of a window rectangle, cut to the clip and the target.
bool Place(MzSurface* hdc, const RECT& rect, SDL_Rect& dst, SDL_Rect& clip) {
    if (!hdc || !hdc->target)
        return false;
    dst = SDL_Rect{hdc->originX + rect.left, hdc->originY + rect.top, rect.right - rect.left,
                   rect.bottom - rect.top};
    int l = std::max<int>(hdc->clip.left, 0);
    int t = std::max<int>(hdc->clip.top, 0);
    int r = std::min<int>(hdc->clip.right, hdc->target->w);
    int b = std::min<int>(hdc->clip.bottom, hdc->target->h);
    clip = SDL_Rect{l, t, r - l, b - t};
    if (clip.w <= 0 || clip.h <= 0 || dst.w <= 0 || dst.h <= 0)
        return false;
    SDL_Rect cut;
    return SDL_IntersectRect(&dst, &clip, &cut) == SDL_TRUE;
}

void BlitAt(MzSurface* hdc, SDL_Surface* src, int x, int y, const SDL_Rect& clip) {
    SDL_SetClipRect(hdc->target, &clip);
    SDL_Rect dst{x, y, src->w, src->h};
    SDL_BlitSurface(src, nullptr, hdc->target, &dst);
    SDL_SetClipRect(hdc->target, nullptr);
}

SDL_Color Colour(uint32_t argb) {
    return SDL_Color{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
                     static_cast<Uint8>(argb), 255};
}

// Splits text into lines at line breaks and, when wrapping, at the width.
std::vector<std::string> Lines(TTF_Font* font, const std::u16string& text, int width, bool wrap) {
    std::vector<std::string> lines;
    std::u16string rest = text;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(u'\n', start);
        std::u16string para = rest.substr(start, end == std::u16string::npos ? end : end - start);
        if (!para.empty() && para.back() == u'\r')
            para.pop_back();
        std::string utf8 = CeUtf16::ToUtf8(para);
        while (wrap && !utf8.empty() && width > 0) {
            int extent = 0, count = 0;
            if (TTF_MeasureUTF8(font, utf8.c_str(), width, &extent, &count) != 0 || count <= 0)
                break;
            // count is in characters: find the byte offset of that many characters.
            size_t bytes = 0;
            for (int c = 0; c < count && bytes < utf8.size(); ++c) {
                ++bytes;
                while (bytes < utf8.size() && (utf8[bytes] & 0xC0) == 0x80)
                    ++bytes;
            }
            if (bytes >= utf8.size())
                break;
            size_t space = utf8.rfind(' ', bytes);
            if (space != std::string::npos && space > bytes / 2)
                bytes = space + 1;
            lines.push_back(utf8.substr(0, bytes));
            utf8.erase(0, bytes);
        }
        lines.push_back(utf8);
        if (end == std::u16string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

int OutlinePx(const MzTextStyle& style, int pixelSize) {
    return style.outline ? std::max(1, pixelSize / 14) : 0;
}

// Where each code point of text begins.
std::vector<size_t> CodePointStarts(const std::u16string& text) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
              text[i - 1] <= 0xDBFF))
            starts.push_back(i);
    return starts;
}

} // namespace

void MzPaint::Fill(MzSurface* hdc, const RECT& rect, uint32_t argb) {
    SDL_Rect dst, clip, area;
    if (!Place(hdc, rect, dst, clip) || !SDL_IntersectRect(&dst, &clip, &area))
        return;
    SDL_Surface* s = hdc->target;
    const uint32_t a = argb >> 24;
    if (a == 255) {
        SDL_FillRect(s, &area, argb);
        return;
    }
    if (a == 0 || SDL_LockSurface(s) != 0)
        return;
    const uint32_t sr = (argb >> 16) & 0xFF, sg = (argb >> 8) & 0xFF, sb = argb & 0xFF;
    for (int y = area.y; y < area.y + area.h; ++y) {
        uint32_t* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = area.x; x < area.x + area.w; ++x) {
            uint32_t d = row[x];
            uint32_t r = (sr * a + ((d >> 16) & 0xFF) * (255 - a)) / 255;
            uint32_t g = (sg * a + ((d >> 8) & 0xFF) * (255 - a)) / 255;
            uint32_t b = (sb * a + (d & 0xFF) * (255 - a)) / 255;
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    SDL_UnlockSurface(s);
}

void MzPaint::Frame(MzSurface* hdc, const RECT& rect, uint32_t argb, int t) {
    Fill(hdc, RECT{rect.left, rect.top, rect.right, rect.top + t}, argb);
    Fill(hdc, RECT{rect.left, rect.bottom - t, rect.right, rect.bottom}, argb);
    Fill(hdc, RECT{rect.left, rect.top + t, rect.left + t, rect.bottom - t}, argb);
    Fill(hdc, RECT{rect.right - t, rect.top + t, rect.right, rect.bottom - t}, argb);
}

void MzPaint::Image(MzSurface* hdc, MzBitmap* bitmap, const RECT& rect, bool stretch) {
    SDL_Rect dst, clip;
    if (!bitmap || !Place(hdc, rect, dst, clip))
        return;
    if (stretch) {
        SDL_Surface* scaled = bitmap->Scaled(dst.w, dst.h);
        if (scaled)
            BlitAt(hdc, scaled, dst.x, dst.y, clip);
        return;
    }
    SDL_Rect inside;
    SDL_IntersectRect(&dst, &clip, &inside);
    BlitAt(hdc, bitmap->Surface(), dst.x + (dst.w - bitmap->Width()) / 2,
           dst.y + (dst.h - bitmap->Height()) / 2, inside);
}

void MzPaint::Text(MzSurface* hdc, const std::u16string& text, const RECT& rect,
                   const MzTextStyle& style) {
    SDL_Rect dst, clip, inside;
    if (text.empty() || !Place(hdc, rect, dst, clip))
        return;
    TTF_Font* font = MzFont::Get(style.pixelSize, style.bold, 0, text);
    if (!font)
        return;
    SDL_IntersectRect(&dst, &clip, &inside);
    const int wrapOutline = OutlinePx(style, style.pixelSize);
    std::vector<std::string> lines = Lines(font, text, dst.w - 2 * wrapOutline, style.wrap);
    const int skip = TTF_FontLineSkip(font);
    int y = dst.y + (dst.h - skip * static_cast<int>(lines.size())) / 2;
    for (const std::string& line : lines) {
        if (!line.empty()) {
            const MzFittedLine fitted = FitLine(CeUtf16::FromUtf8(line), dst.w, style);
            const std::string shown = CeUtf16::ToUtf8(fitted.text);
            const int outlinePx = OutlinePx(style, fitted.pixelSize);
            TTF_Font* lineFont = MzFont::Get(fitted.pixelSize, style.bold, 0, fitted.text);
            SDL_Surface* glyphs =
                lineFont ? TTF_RenderUTF8_Blended(lineFont, shown.c_str(), Colour(style.color))
                         : nullptr;
            if (glyphs) {
                // A fitted line is centred on its own line's middle, at any size.
                const int top = y + (skip - TTF_FontLineSkip(lineFont)) / 2;
                const bool centre = style.centred && glyphs->w + 2 * outlinePx <= dst.w;
                int x = centre ? dst.x + (dst.w - glyphs->w) / 2 : dst.x + outlinePx;
                if (outlinePx) {
                    TTF_Font* edgeFont =
                        MzFont::Get(fitted.pixelSize, style.bold, outlinePx, fitted.text);
                    SDL_Surface* edge = edgeFont ? TTF_RenderUTF8_Blended(edgeFont, shown.c_str(),
                                                                          Colour(style.outline))
                                                 : nullptr;
                    if (edge) {
                        BlitAt(hdc, edge, x - outlinePx, top - outlinePx, inside);
                        SDL_FreeSurface(edge);
                    }
                }
                BlitAt(hdc, glyphs, x, top, inside);
                SDL_FreeSurface(glyphs);
            }
        }
        y += skip;
    }
}

MzFittedLine MzPaint::FitLine(const std::u16string& line, int width, const MzTextStyle& style) {
    MzFittedLine fitted{line, style.pixelSize};
    auto fits = [&](const std::u16string& text, int size) {
        MzTextStyle at = style;
        at.pixelSize = size;
        return TextWidth(text, at) + 2 * OutlinePx(style, size) <= width;
    };
    if (line.empty() || !MzFont::Available() || fits(line, style.pixelSize))
        return fitted;
    const int smallest = std::max(6, (style.pixelSize * kMinFitPercent + 99) / 100);
    for (int size = style.pixelSize - 1; size >= smallest; --size) {
        if (fits(line, size)) {
            fitted.pixelSize = size;
            return fitted;
        }
    }
    fitted.pixelSize = smallest;
    // Keep as many characters as fit around the "…": half from each end (the extra one
    // at the front), never splitting a surrogate pair.
    const std::vector<size_t> starts = CodePointStarts(line);
    const size_t count = starts.size();
    auto elided = [&](size_t kept) {
        const size_t head = (kept + 1) / 2, tail = kept / 2;
        const size_t tailFrom = tail ? starts[count - tail] : line.size();
        return line.substr(0, head < count ? starts[head] : line.size()) + u"…" +
               line.substr(tailFrom);
    };
    size_t lo = 0, hi = count - 1; // the largest kept count that fits lies in [lo, hi]
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (fits(elided(mid), smallest))
            lo = mid;
        else
            hi = mid - 1;
    }
    fitted.text = elided(lo);
    return fitted;
}

int MzPaint::TextWidth(const std::u16string& text, const MzTextStyle& style) {
    TTF_Font* font = MzFont::Get(style.pixelSize, style.bold, 0, text);
    int w = 0, h = 0;
    if (!font || text.empty() || TTF_SizeUTF8(font, CeUtf16::ToUtf8(text).c_str(), &w, &h) != 0)
        return 0;
    return w;
}

int MzPaint::LineCount(const std::u16string& text, int width, const MzTextStyle& style) {
    TTF_Font* font = MzFont::Get(style.pixelSize, style.bold, 0, text);
    if (!font)
        return 1;
    return static_cast<int>(Lines(font, text, width, style.wrap).size());
}

int MzPaint::LineHeight(const MzTextStyle& style) {
    TTF_Font* font = MzFont::Get(style.pixelSize, style.bold);
    return font ? TTF_FontLineSkip(font) : style.pixelSize;
}
