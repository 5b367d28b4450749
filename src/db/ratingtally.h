#pragma once

#include <array>
#include <cmath>

#include "db/librarydb.h"

// The user ratings of a set of songs, counted per rating value, and the root-mean-square of
// their weights. A song without a rating (or with a value outside the scale) counts as
// rating 3. The result does not depend on the order the songs come in.
class CRatingTally {
public:
    void Add(int userRating) {
        ++m_counts[static_cast<std::size_t>(userRating >= 1 && userRating <= 7 ? userRating : 3)];
    }

    int Count() const {
        int count = 0;
        for (const int c : m_counts) {
            count += c;
        }
        return count;
    }

    // sqrt(sum of squared weights / count), within 0.0 .. 7.0; 0.0 for no songs.
    double RootMeanSquare() const {
        const int count = Count();
        if (count == 0) {
            return 0.0;
        }
        double sum = 0.0;
        for (std::size_t rating = 1; rating < m_counts.size(); ++rating) {
            sum += m_counts[rating] * RatingWeights[rating] * RatingWeights[rating];
        }
        const double value = std::sqrt(sum / count);
        return std::isnan(value) ? 0.0 : std::min(std::max(value, 0.0), 7.0);
    }

private:
    std::array<int, 8> m_counts{};
};
