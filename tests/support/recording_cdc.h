// A drawing context that records every MoveTo and LineTo, so a drawing can be checked call by call.
#pragma once

#include <algorithm>
#include <ostream>
#include <vector>

#include "plot/my_cdc.h"

struct RecordedCall {
    bool line = false;  // false: MoveTo, true: LineTo
    int x = 0;
    int y = 0;
    friend bool operator==(const RecordedCall&, const RecordedCall&) = default;
    friend std::ostream& operator<<(std::ostream& out, const RecordedCall& call) {
        return out << (call.line ? "LineTo(" : "MoveTo(") << call.x << ", " << call.y << ")";
    }
};

// A drawn line: the current point before a LineTo and its target.
struct RecordedStroke {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    friend bool operator==(const RecordedStroke&, const RecordedStroke&) = default;
    friend std::ostream& operator<<(std::ostream& out, const RecordedStroke& s) {
        return out << "(" << s.x0 << ", " << s.y0 << ")-(" << s.x1 << ", " << s.y1 << ")";
    }
};

class RecordingCDC : public CMyCDC {
  public:
    CMyPoint MoveTo(int x, int y) override {
        calls.push_back({false, x, y});
        curX = x;
        curY = y;
        return {x, y};
    }
    int LineTo(int x, int y) override {
        calls.push_back({true, x, y});
        strokes.push_back({curX, curY, x, y});
        curX = x;
        curY = y;
        return 1;
    }

    // Index in `calls` where `part` occurs as an unbroken run at or after `from`, or -1.
    long Find(const std::vector<RecordedCall>& part, size_t from = 0) const {
        if (part.empty() || from > calls.size()) return -1;
        auto it = std::search(calls.begin() + static_cast<long>(from), calls.end(), part.begin(),
                              part.end());
        return it == calls.end() ? -1 : static_cast<long>(it - calls.begin());
    }

    bool HasStroke(const RecordedStroke& stroke) const {
        return std::find(strokes.begin(), strokes.end(), stroke) != strokes.end();
    }

    std::vector<RecordedCall> calls;
    std::vector<RecordedStroke> strokes;
    int curX = 0;
    int curY = 0;
};
