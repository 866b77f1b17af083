#include "tools/creatures/CreatureDesign.h"

namespace {

swfkit::Color Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return {r, g, b, a};
}

// The skins are this see-through: drawn twice (under and over the balls), they show the balls
// inside through one layer and cover the arena behind with nearly three quarters of their colour.
constexpr uint8_t kSkinAlpha = 130;

CreatureDesign Bubbles() {
    CreatureDesign d;
    d.name = "bubbles";
    d.characterName = "Bubbles";
    d.body = Rgb(60, 190, 255, kSkinAlpha);
    d.lid = Rgb(40, 150, 225);
    d.iris = Rgb(40, 120, 220);
    d.eyeWidth = 11.5;
    d.eyeHeight = 12.5;
    d.eyeSpacing = 26.0;
    d.pupilRadius = 3.4;
    d.mouthWidth = 7.5;
    d.skin = SkinDecoration::kBubbles;
    d.decoration = Rgb(200, 240, 255);
    return d;
}

CreatureDesign Sprout() {
    CreatureDesign d;
    d.name = "sprout";
    d.characterName = "Sprout";
    d.body = Rgb(120, 215, 60, kSkinAlpha);
    d.lid = Rgb(85, 170, 40);
    d.iris = Rgb(150, 100, 40);
    d.eyeWidth = 10.0;
    d.eyeHeight = 11.5;
    d.eyeSpacing = 23.0;
    d.pupilRadius = 2.6;
    d.mouthWidth = 8.0;
    d.openDelay = 2.5f;
    d.top = TopDecoration::kSprout;
    d.decoration = Rgb(60, 170, 50);
    return d;
}

CreatureDesign Hooligan() {
    CreatureDesign d;
    d.name = "hooligan";
    d.characterName = "Hooligan";
    d.body = Rgb(255, 110, 40, kSkinAlpha);
    d.lid = Rgb(215, 80, 25);
    d.iris = Rgb(60, 140, 60);
    d.eyeWidth = 10.0;
    d.eyeHeight = 10.5;
    d.eyeSpacing = 24.0;
    d.pupilRadius = 2.5;
    d.mouthWidth = 11.0;
    d.teeth = true;
    d.openDelay = 1.5f;
    d.closedDelay = 0.4f;
    d.top = TopDecoration::kMohawk;
    d.eyes = EyesDecoration::kBrows;
    d.decoration = Rgb(230, 40, 160);
    return d;
}

CreatureDesign Blossom() {
    CreatureDesign d;
    d.name = "blossom";
    d.characterName = "Blossom";
    d.body = Rgb(255, 115, 195, kSkinAlpha);
    d.lid = Rgb(225, 80, 160);
    d.iris = Rgb(120, 70, 200);
    d.eyeWidth = 11.0;
    d.eyeHeight = 12.0;
    d.eyeSpacing = 25.0;
    d.pupilRadius = 3.2;
    d.mouthWidth = 7.5;
    d.openDelay = 3.0f;
    d.top = TopDecoration::kFlower;
    d.eyes = EyesDecoration::kLashes;
    d.decoration = Rgb(255, 235, 90);
    return d;
}

CreatureDesign Sunny() {
    CreatureDesign d;
    d.name = "sunny";
    d.characterName = "Sunny";
    d.body = Rgb(255, 210, 30, 150);
    d.lid = Rgb(235, 170, 20);
    d.iris = Rgb(200, 110, 30);
    d.eyeWidth = 10.5;
    d.eyeHeight = 11.0;
    d.eyeSpacing = 26.0;
    d.pupilRadius = 2.9;
    d.mouthWidth = 12.0;
    d.teeth = true;
    d.openDelay = 2.2f;
    d.skin = SkinDecoration::kRays;
    d.decoration = Rgb(255, 150, 30);
    return d;
}

CreatureDesign Plum() {
    CreatureDesign d;
    d.name = "plum";
    d.characterName = "Plum";
    d.body = Rgb(160, 95, 235, kSkinAlpha);
    d.lid = Rgb(125, 65, 200);
    d.iris = Rgb(70, 160, 150);
    d.eyeWidth = 10.0;
    d.eyeHeight = 10.5;
    d.eyeSpacing = 24.0;
    d.pupilRadius = 2.5;
    d.mouthWidth = 8.5;
    d.openDelay = 2.8f;
    d.closedDelay = 0.8f;
    d.top = TopDecoration::kTopHat;
    d.eyes = EyesDecoration::kGlasses;
    d.decoration = Rgb(50, 40, 70);
    return d;
}

}  // namespace

std::vector<CreatureDesign> ShippedCreatures() {
    return {Bubbles(), Sprout(), Hooligan(), Blossom(), Sunny(), Plum()};
}

std::string CreatureFile(const CreatureDesign& design) {
    return "data/players/" + design.name + ".xml";
}

std::string CreatureMovie(const CreatureDesign& design, const std::string& part) {
    return "data/creatures/" + design.name + "/" + part + ".swf";
}
