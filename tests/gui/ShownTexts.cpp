#include "tests/gui/ShownTexts.h"

#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/text/text_character_def.h"
#include "tests/gui/TextContrast.h"

#include <algorithm>
#include <sstream>

namespace gui_testing {

namespace {

using swfplayer::character;

bool IsText(character* ch) {
    return ch->is(swfplayer::AS_EDIT_TEXT) ||
           dynamic_cast<swfplayer::text_character_def*>(ch->get_character_def()) != nullptr;
}

// A colour transform that paints everything in the colour, fully opaque.
swfplayer::cxform Paint(const sf::Color& color) {
    swfplayer::cxform paint;
    const float adds[4] = {static_cast<float>(color.r), static_cast<float>(color.g), static_cast<float>(color.b),
                           255.0f};
    for (int i = 0; i < 4; ++i) {
        paint.m[i][0] = 0.0f;
        paint.m[i][1] = adds[i];
    }
    return paint;
}

ShownText MovieText(const std::string& name, character* text, const std::function<sf::Image()>& drawScreen) {
    const swfplayer::smart_ptr<character> held = text;
    ShownText shown;
    shown.name = name;
    shown.show = [held](bool visible) {
        held->set_visible(visible);
    };
    shown.draw = drawScreen;
    shown.painted = [held, drawScreen](const sf::Color& color) {
        const swfplayer::cxform kept = held->get_cxform();
        held->set_cxform(Paint(color));
        sf::Image picture = drawScreen();
        held->set_cxform(kept);
        return picture;
    };
    return shown;
}

sf::IntRect CoverageBounds(const ShownText& text) {
    const sf::Image black = text.painted(sf::Color::Black);
    const sf::Image white = text.painted(sf::Color::White);
    return TextCoverage(black, white).Bounds();
}

// Whether most of the smaller rectangle lies in the larger one.
bool Copies(const sf::IntRect& a, const sf::IntRect& b) {
    sf::IntRect common;
    if (!a.intersects(b, common)) {
        return false;
    }
    const int smaller = std::min(a.width * a.height, b.width * b.height);
    return common.width * common.height * 10 >= smaller * 7;
}

// Texts over copies of themselves become one, the top one painted.
std::vector<ShownText> JoinCopies(const std::vector<ShownText>& texts) {
    std::vector<ShownText> joined;
    std::vector<sf::IntRect> bounds;
    for (const ShownText& text : texts) {
        const sf::IntRect where = CoverageBounds(text);
        if (!joined.empty() && where.width > 0 && Copies(where, bounds.back())) {
            ShownText& below = joined.back();
            const std::function<void(bool)> belowShow = below.show;
            const std::function<void(bool)> topShow = text.show;
            below.name = text.name;
            below.show = [belowShow, topShow](bool visible) {
                belowShow(visible);
                topShow(visible);
            };
            below.painted = text.painted;
            continue;
        }
        joined.push_back(text);
        bounds.push_back(where);
    }
    return joined;
}

void CollectMovieTexts(swfplayer::sprite_instance& sprite, const std::string& path,
                       const std::function<sf::Image()>& drawScreen, std::vector<ShownText>& texts) {
    swfplayer::display_list& list = sprite.get_display_list();
    for (int i = 0; i < list.size(); ++i) {
        character* ch = list.get_character(i);
        if (ch == nullptr || !ch->get_visible()) {
            continue;
        }
        const std::string name = path + "/" + std::to_string(ch->get_depth());
        if (IsText(ch)) {
            texts.push_back(MovieText(name, ch, drawScreen));
        } else if (swfplayer::sprite_instance* child = swfplayer::cast_to_sprite_instance(ch)) {
            CollectMovieTexts(*child, name, drawScreen, texts);
        }
    }
}

}  // namespace

Pictures::Pictures() {
    m_Target.create(800, 600);
}

sf::Image Pictures::Draw(const std::function<void(sf::RenderTarget&)>& paint) {
    m_Target.clear(sf::Color::Black);
    paint(m_Target);
    m_Target.display();
    return m_Target.getTexture().copyToImage();
}

ShownText SfmlText(const std::string& name, const sf::Text& text, const sf::Transform& transform, Pictures& pictures,
                   const std::function<sf::Image()>& draw, const std::function<void(bool)>& show) {
    ShownText shown;
    shown.name = name;
    shown.show = show;
    shown.draw = draw;
    shown.painted = [text, transform, &pictures](const sf::Color& color) {
        sf::Text painted = text;
        painted.setFillColor(color);
        return pictures.Draw([&](sf::RenderTarget& target) { target.draw(painted, transform); });
    };
    return shown;
}

sf::Image Behind(const ShownText& text) {
    text.show(false);
    sf::Image picture = text.draw();
    text.show(true);
    return picture;
}

std::vector<ShownText> DescriptionTexts(FlashGUI& screen, Pictures& pictures,
                                        const std::function<sf::Image()>& drawScreen) {
    std::vector<ShownText> texts;
    for (const TextElement& element : screen.GetTextElements()) {
        if (!element.visible || element.text.getString().isEmpty()) {
            continue;
        }
        const std::string tag = element.tag;
        texts.push_back(SfmlText("text \"" + tag + "\"", element.text, sf::Transform::Identity, pictures, drawScreen,
                                 [&screen, tag](bool shown) { screen.SetTextVisible(tag, shown); }));
    }
    return texts;
}

std::vector<ShownText> MovieTexts(FlashGUI& screen, const std::function<sf::Image()>& drawScreen) {
    std::vector<ShownText> texts;
    for (const std::shared_ptr<FlashGUI::Layer>& layer : screen.GetLayers()) {
        swfplayer::root* root = layer->GetMovie().GetRoot();
        if (root != nullptr && root->get_root_sprite() != nullptr) {
            CollectMovieTexts(*root->get_root_sprite(), "movie " + layer->GetName(), drawScreen, texts);
        }
    }
    return JoinCopies(texts);
}

Reading Read(const ShownText& text, const sf::Image& screen) {
    const sf::Image black = text.painted(sf::Color::Black);
    const sf::Image white = text.painted(sf::Color::White);
    const TextCoverage coverage(black, white);
    return {TextContrast(screen, Behind(text), coverage), coverage.Bounds()};
}

std::string PoorlyReadTexts(const std::vector<ShownText>& texts, const sf::Image& screen, double least) {
    std::ostringstream poor;
    for (const ShownText& text : texts) {
        const Reading reading = Read(text, screen);
        // A text that covers no pixel in full is not shown (hidden by the screen or off it).
        if (reading.ratio > 0.0 && reading.ratio < least) {
            poor << text.name << " at (" << reading.where.left << ", " << reading.where.top << ") size "
                 << reading.where.width << " x " << reading.where.height << ": " << reading.ratio << ":1\n";
        }
    }
    return poor.str();
}

}  // namespace gui_testing
