// \brief Wu's quantiser on the cumulative moments of a 33 × 33 × 33 histogram: counts, channel
// sums and sums of squares, so that the moments of any box come from eight table reads.
#include "crash/delivery/attachments/wu_quantizer.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

namespace kestrix {
namespace {

constexpr int Side = 33;

constexpr std::size_t Cell(int red, int green, int blue) {
    return static_cast<std::size_t>((red * Side + green) * Side + blue);
}

int CellCoordinate(std::uint8_t channel) {
    return (channel >> 3) + 1;
}

struct Moments {
    std::vector<double> Weight, Red, Green, Blue, Squares;

    Moments()
        : Weight(Side * Side * Side), Red(Weight), Green(Weight), Blue(Weight), Squares(Weight) {}

    std::array<std::vector<double>*, 5> All() { return {&Weight, &Red, &Green, &Blue, &Squares}; }
};

// A box of cells: lower bounds exclusive, upper bounds inclusive.
struct Box {
    std::array<int, 3> Lower{0, 0, 0};
    std::array<int, 3> Upper{Side - 1, Side - 1, Side - 1};

    int Volume() const {
        return (Upper[0] - Lower[0]) * (Upper[1] - Lower[1]) * (Upper[2] - Lower[2]);
    }
};

Moments Histogram(const RgbImage& image) {
    Moments moments;
    for (const RgbColor pixel : image.Pixels) {
        const std::size_t cell = Cell(CellCoordinate(pixel.Red), CellCoordinate(pixel.Green),
                                      CellCoordinate(pixel.Blue));
        moments.Weight[cell] += 1;
        moments.Red[cell] += pixel.Red;
        moments.Green[cell] += pixel.Green;
        moments.Blue[cell] += pixel.Blue;
        moments.Squares[cell] +=
            pixel.Red * pixel.Red + pixel.Green * pixel.Green + pixel.Blue * pixel.Blue;
    }
    return moments;
}

// Each cell becomes the sum over the box from the origin to it.
void Accumulate(std::vector<double>& table) {
    for (int red = 1; red < Side; ++red) {
        std::array<double, Side> area{};
        for (int green = 1; green < Side; ++green) {
            double line = 0;
            for (int blue = 1; blue < Side; ++blue) {
                line += table[Cell(red, green, blue)];
                area[static_cast<std::size_t>(blue)] += line;
                table[Cell(red, green, blue)] =
                    table[Cell(red - 1, green, blue)] + area[static_cast<std::size_t>(blue)];
            }
        }
    }
}

double At(const std::vector<double>& table, const std::array<int, 3>& corner) {
    return table[Cell(corner[0], corner[1], corner[2])];
}

// The sum over the box, from its eight corners.
double Volume(const Box& box, const std::vector<double>& table) {
    double sum = 0;
    for (int corner = 0; corner < 8; ++corner) {
        std::array<int, 3> point{};
        int lowerCount = 0;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const bool lower = (corner >> axis) & 1;
            point[axis] = lower ? box.Lower[axis] : box.Upper[axis];
            lowerCount += lower;
        }
        sum += (lowerCount % 2 == 0 ? 1 : -1) * At(table, point);
    }
    return sum;
}

// The sum over the part of the box up to the plane at position along the axis.
double VolumeBelow(Box box, std::size_t axis, int position, const std::vector<double>& table) {
    box.Upper[axis] = position;
    return Volume(box, table);
}

double Variance(const Box& box, const Moments& moments) {
    const double red = Volume(box, moments.Red);
    const double green = Volume(box, moments.Green);
    const double blue = Volume(box, moments.Blue);
    const double weight = Volume(box, moments.Weight);
    if (weight <= 0) {
        return 0;
    }
    return Volume(box, moments.Squares) - (red * red + green * green + blue * blue) / weight;
}

struct Plane {
    double Score = 0;
    std::optional<int> Position;
};

double SquaredOverWeight(double red, double green, double blue, double weight) {
    return (red * red + green * green + blue * blue) / weight;
}

// The plane along the axis that maximises the variance between the two parts.
Plane BestPlane(const Box& box, std::size_t axis, const Moments& moments) {
    const double wholeRed = Volume(box, moments.Red);
    const double wholeGreen = Volume(box, moments.Green);
    const double wholeBlue = Volume(box, moments.Blue);
    const double wholeWeight = Volume(box, moments.Weight);
    Plane best;
    for (int position = box.Lower[axis] + 1; position < box.Upper[axis]; ++position) {
        const double red = VolumeBelow(box, axis, position, moments.Red);
        const double green = VolumeBelow(box, axis, position, moments.Green);
        const double blue = VolumeBelow(box, axis, position, moments.Blue);
        const double weight = VolumeBelow(box, axis, position, moments.Weight);
        if (weight <= 0 || wholeWeight - weight <= 0) {
            continue;
        }
        const double score = SquaredOverWeight(red, green, blue, weight) +
                             SquaredOverWeight(wholeRed - red, wholeGreen - green, wholeBlue - blue,
                                               wholeWeight - weight);
        if (score > best.Score) {
            best = {score, position};
        }
    }
    return best;
}

// Splits the box in two along the best of the three axes (red before green before blue on equal
// scores); none when no plane leaves pixels on both sides.
std::optional<Box> Split(Box& box, const Moments& moments) {
    std::size_t axis = 0;
    Plane best = BestPlane(box, 0, moments);
    for (std::size_t other = 1; other < 3; ++other) {
        const Plane plane = BestPlane(box, other, moments);
        if (plane.Score > best.Score) {
            best = plane;
            axis = other;
        }
    }
    if (!best.Position) {
        return std::nullopt;
    }
    Box upper = box;
    box.Upper[axis] = *best.Position;
    upper.Lower[axis] = *best.Position;
    return upper;
}

double SplittableVariance(const Box& box, const Moments& moments) {
    return box.Volume() > 1 ? Variance(box, moments) : 0;
}

std::uint8_t MeanChannel(double sum, double weight) {
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(sum) /
                                     static_cast<std::int64_t>(weight));
}

int ChannelDistance(RgbColor a, RgbColor b) {
    return std::abs(a.Red - b.Red) + std::abs(a.Green - b.Green) + std::abs(a.Blue - b.Blue);
}

}  // namespace

std::vector<RgbColor> WuPalette(const RgbImage& image, std::size_t maxColors) {
    Moments moments = Histogram(image);
    for (std::vector<double>* table : moments.All()) {
        Accumulate(*table);
    }
    std::vector<Box> boxes{Box{}};
    std::vector<double> variances{SplittableVariance(boxes[0], moments)};
    std::size_t next = 0;
    while (boxes.size() < maxColors && variances[next] > 0) {
        if (auto upper = Split(boxes[next], moments)) {
            boxes.push_back(*upper);
            variances[next] = SplittableVariance(boxes[next], moments);
            variances.push_back(SplittableVariance(boxes.back(), moments));
        } else {
            variances[next] = 0;
        }
        next = 0;
        for (std::size_t box = 1; box < boxes.size(); ++box) {
            if (variances[box] > variances[next]) {
                next = box;
            }
        }
    }
    std::vector<RgbColor> palette;
    for (const Box& box : boxes) {
        const double weight = Volume(box, moments.Weight);
        if (weight > 0) {
            palette.push_back({MeanChannel(Volume(box, moments.Red), weight),
                               MeanChannel(Volume(box, moments.Green), weight),
                               MeanChannel(Volume(box, moments.Blue), weight)});
        }
    }
    return palette;
}

PalettedImage MapToPalette(const RgbImage& image, std::vector<RgbColor> palette) {
    constexpr std::uint16_t Unchosen = std::numeric_limits<std::uint16_t>::max();
    std::vector<std::uint16_t> chosen(32 * 32 * 32, Unchosen);
    PalettedImage result{image.Width, image.Height, std::move(palette), {}};
    result.Indices.reserve(image.Pixels.size());
    for (const RgbColor pixel : image.Pixels) {
        std::uint16_t& choice = chosen[static_cast<std::size_t>(
            ((pixel.Red >> 3) << 10) | ((pixel.Green >> 3) << 5) | (pixel.Blue >> 3))];
        if (choice == Unchosen) {
            choice = 0;
            for (std::size_t entry = 1; entry < result.Palette.size(); ++entry) {
                if (ChannelDistance(pixel, result.Palette[entry]) <
                    ChannelDistance(pixel, result.Palette[choice])) {
                    choice = static_cast<std::uint16_t>(entry);
                }
            }
        }
        result.Indices.push_back(static_cast<std::uint8_t>(choice));
    }
    return result;
}

}  // namespace kestrix
