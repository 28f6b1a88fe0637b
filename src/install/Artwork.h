#pragma once

#include <QImage>
#include <QString>
#include <random>

namespace orb::install {

// Deterministic random numbers for demo data and pictures: the same seed gives
// the same installation on every machine (std distributions are not portable).
class DemoRandom {
public:
    explicit DemoRandom(quint32 seed) : gen_(seed) {}
    int range(int lo, int hi) { return lo + int(gen_() % quint32(hi - lo + 1)); } // lo … hi
    bool chance(int percent) { return range(0, 99) < percent; }
    double unit() { return double(gen_()) / 4294967296.0; } // [0, 1)
    template <typename List> const auto& pick(const List& list) {
        return list[range(0, int(list.size()) - 1)];
    }
    quint32 next() { return quint32(gen_()); }

private:
    std::mt19937 gen_;
};

// Text is drawn only when a QGuiApplication exists (fonts need one); without
// it the pictures keep their shapes and colours.
bool canDrawText();

// Main window background, 800 × 600: soft sky-to-sand gradient, sea, the
// emblem and the agency name.
QImage backgroundPicture(const QString& agencyName);

// Dossier header logo, 600 × 160: emblem and agency name on white.
QImage dossierLogoPicture(const QString& agencyName);

// What a demo photograph shows.
enum class PhotoScene { Exterior, Interior, View };
enum class Building { House, Block, Land };

// A demo photograph, painted from simple shapes.
QImage demoPhoto(DemoRandom& rnd, PhotoScene scene, Building building, bool inland, int width = 400,
                 int height = 300);

// Saves img as a real JPEG; false on failure.
bool saveJpeg(const QImage& img, const QString& path, int quality = 80);

} // namespace orb::install
