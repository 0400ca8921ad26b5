#pragma once
#include <array>
#include <cstdint>

// The fixed scales and name lists behind every integer code of a matrix unit. The tables hold the
// values exactly as the units and the preset files use them, irregular steps included.
//
// Codes read from a preset file or a unit can be any byte or word. Index a table with a code of
// unknown origin only through the *At / *Name functions at the end of this header: they clamp
// numeric scales to the nearest valid entry and give nullptr for a name list, never reading
// outside a table.

inline constexpr int kFrequencyScaleSize = 395;
inline constexpr int kPeqFrequencyOffset = 35; // PEQ frequency index f stands for FrequencyScale[f + 35]
inline constexpr int kPeqFrequencyCount = 360; // PEQ indices 0..359
inline constexpr int kQLabelCount = 105;
inline constexpr int kFilterTypeCount = 28; // crossover types 0..27 have names; 28 is accepted unnamed
inline constexpr int kDynamicsTableSize = 128;
inline constexpr int kCompressorThresholdCount = 30;

// Hz; crossover frequency indices point here directly. Strictly ascending.
inline constexpr std::array<double, kFrequencyScaleSize> FrequencyScale{
    10.0, 10.2, 10.4, 10.6, 10.8, 11.0, 11.3, 11.5, 11.7, 11.9,
    12.2, 12.4, 12.6, 12.9, 13.1, 13.4, 13.7, 13.9, 14.2, 14.5,
    14.7, 15.0, 15.3, 15.6, 15.9, 16.2, 16.6, 16.9, 17.2, 17.5,
    17.9, 18.2, 18.6, 18.9, 19.3, 19.7, 20.1, 20.5, 20.9, 21.3,
    21.7, 22.1, 22.5, 23.0, 23.4, 23.9, 24.3, 24.8, 25.3, 25.8,
    26.3, 26.8, 27.3, 27.8, 28.4, 28.9, 29.5, 30.1, 30.7, 31.3,
    31.9, 32.5, 33.1, 33.8, 34.4, 35.1, 35.8, 36.5, 37.2, 37.9,
    38.6, 39.4, 40.1, 40.9, 41.7, 42.5, 43.4, 44.2, 45.1, 45.9,
    46.8, 47.7, 48.7, 49.6, 50.6, 51.6, 52.6, 53.6, 54.6, 55.7,
    56.8, 57.9, 59.0, 60.1, 61.3, 62.5, 63.7, 65.0, 66.2, 67.5,
    68.8, 70.2, 71.5, 72.9, 74.3, 75.8, 77.2, 78.7, 80.3, 81.8,
    83.4, 85.0, 86.7, 88.4, 90.1, 94.0, 95.0, 97.0, 99.0, 101.0,
    103.0, 105.0, 107.0, 109.0, 111.0, 114.0, 116.0, 118.0, 120.0, 123.0,
    125.0, 127.0, 130.0, 132.0, 135.0, 138.0, 140.0, 143.0, 146.0, 149.0,
    152.0, 154.0, 157.0, 161.0, 164.0, 167.0, 170.0, 173.0, 177.0, 180.0,
    184.0, 187.0, 191.0, 195.0, 198.0, 202.0, 206.0, 210.0, 214.0, 218.0,
    223.0, 227.0, 231.0, 236.0, 241.0, 245.0, 250.0, 255.0, 260.0, 265.0,
    270.0, 275.0, 281.0, 286.0, 292.0, 297.0, 303.0, 309.0, 315.0, 321.0,
    327.0, 334.0, 340.0, 347.0, 354.0, 360.0, 367.0, 375.0, 382.0, 389.0,
    397.0, 405.0, 412.0, 420.0, 429.0, 437.0, 445.0, 454.0, 463.0, 472.0,
    481.0, 490.0, 500.0, 510.0, 520.0, 530.0, 540.0, 551.0, 561.0, 572.0,
    583.0, 595.0, 606.0, 618.0, 630.0, 642.0, 655.0, 667.0, 680.0, 694.0,
    707.0, 721.0, 735.0, 749.0, 764.0, 779.0, 794.0, 809.0, 825.0, 841.0,
    857.0, 874.0, 891.0, 908.0, 926.0, 944.0, 962.0, 981.0, 1000.0, 1020.0,
    1040.0, 1060.0, 1080.0, 1100.0, 1120.0, 1140.0, 1170.0, 1190.0, 1210.0, 1240.0,
    1260.0, 1280.0, 1310.0, 1330.0, 1360.0, 1390.0, 1410.0, 1440.0, 1470.0, 1500.0,
    1530.0, 1560.0, 1590.0, 1620.0, 1650.0, 1680.0, 1710.0, 1750.0, 1780.0, 1820.0,
    1850.0, 1890.0, 1920.0, 1960.0, 2000.0, 2040.0, 2080.0, 2120.0, 2160.0, 2200.0,
    2240.0, 2290.0, 2330.0, 2380.0, 2420.0, 2470.0, 2520.0, 2570.0, 2620.0, 2670.0,
    2720.0, 2770.0, 2830.0, 2880.0, 2940.0, 3000.0, 3050.0, 3110.0, 3170.0, 3240.0,
    3300.0, 3360.0, 3430.0, 3500.0, 3560.0, 3630.0, 3700.0, 3780.0, 3850.0, 3920.0,
    4000.0, 4080.0, 4160.0, 4240.0, 4320.0, 4400.0, 4490.0, 4580.0, 4670.0, 4760.0,
    4850.0, 4940.0, 5040.0, 5140.0, 5240.0, 5340.0, 5440.0, 5500.0, 5660.0, 5770.0,
    5880.0, 5990.0, 6110.0, 6230.0, 6350.0, 6470.0, 6600.0, 6730.0, 6860.0, 6990.0,
    7130.0, 7270.0, 7410.0, 7550.0, 7700.0, 7850.0, 8000.0, 8160.0, 8310.0, 8480.0,
    8640.0, 8810.0, 8980.0, 9150.0, 9330.0, 9510.0, 9700.0, 9890.0, 10100.0, 10300.0,
    10500.0, 10700.0, 10900.0, 11100.0, 11300.0, 11500.0, 11800.0, 12100.0, 12200.0, 12500.0,
    12700.0, 12900.0, 13200.0, 13500.0, 13700.0, 14000.0, 14300.0, 14500.0, 14800.0, 15100.0,
    15400.0, 15700.0, 16000.0, 16300.0, 16600.0, 17000.0, 17300.0, 17600.0, 18000.0, 18300.0,
    18700.0, 19000.0, 19400.0, 19800.0, 20200.0,
};

// Q index 0..104 as shown.
inline constexpr std::array<const char*, kQLabelCount> QLabels{
    "0.4", "0.4", "0.4", "0.4", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0",
    "1.2", "1.4", "1.6", "1.8", "2.0", "2.2", "2.4", "2.6", "2.8", "3.0", "3.2",
    "3.4", "3.6", "3.8", "4.0", "4.2", "4.4", "4.6", "4.8", "5.0", "5.5", "6.0",
    "6.5", "7.0", "7.5", "8.0", "8.5", "9.0", "9.5", "10", "11", "12", "13",
    "14", "15", "16", "17", "18", "19", "20", "22", "24", "26", "28",
    "30", "32", "34", "36", "38", "40", "42", "44", "46", "48", "50",
    "52", "54", "56", "58", "60", "62", "64", "66", "68", "70", "72",
    "74", "76", "78", "80", "82", "84", "86", "88", "90", "92", "94",
    "96", "98", "100", "102", "104", "106", "108", "110", "112", "114", "116",
    "118", "120", "122", "124", "126", "128",
};

// The number each QLabels entry shows; the curve uses it as the bell's width.
inline constexpr std::array<double, kQLabelCount> QLabelValues{
    0.4, 0.4, 0.4, 0.4, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0,
    1.2, 1.4, 1.6, 1.8, 2.0, 2.2, 2.4, 2.6, 2.8, 3.0, 3.2,
    3.4, 3.6, 3.8, 4.0, 4.2, 4.4, 4.6, 4.8, 5.0, 5.5, 6.0,
    6.5, 7.0, 7.5, 8.0, 8.5, 9.0, 9.5, 10.0, 11.0, 12.0, 13.0,
    14.0, 15.0, 16.0, 17.0, 18.0, 19.0, 20.0, 22.0, 24.0, 26.0, 28.0,
    30.0, 32.0, 34.0, 36.0, 38.0, 40.0, 42.0, 44.0, 46.0, 48.0, 50.0,
    52.0, 54.0, 56.0, 58.0, 60.0, 62.0, 64.0, 66.0, 68.0, 70.0, 72.0,
    74.0, 76.0, 78.0, 80.0, 82.0, 84.0, 86.0, 88.0, 90.0, 92.0, 94.0,
    96.0, 98.0, 100.0, 102.0, 104.0, 106.0, 108.0, 110.0, 112.0, 114.0, 116.0,
    118.0, 120.0, 122.0, 124.0, 126.0, 128.0,
};

inline constexpr std::array<const char*, 4> PeqTypeNames{"PEQ", "HISHELF", "LOSHELF", "ALLPASS"};

inline constexpr std::array<const char*, kFilterTypeCount> FilterTypeNames{
    "FLAT THRU", "6dB Butterworth", "12dB/0.5", "12dB/0.6", "12dB/0.7", "12dB/0.8", "12dB/0.9",
    "12dB/1.0", "12dB/1.1", "12dB/1.2", "12dB/1.3", "12dB/1.4", "12dB/1.5", "12dB/1.6", "12dB/1.7",
    "12dB/1.8", "12dB/1.9", "12dB/2.0", "12dB Bessel", "12dB Butterworth", "18dB Butterworth",
    "18dB Bessel", "24dB Butterworth", "24dB Bessel", "24dB Link_Riley", "48dB Butterworth",
    "48dB Bessel", "48dB Link_Riley",
};

// Compressor, limiter and noise-gate release, in ms.
inline constexpr std::array<std::uint16_t, kDynamicsTableSize> ReleaseTable{
    10, 12, 13, 14, 16, 18, 19, 20, 22, 24, 25, 26, 28, 30, 31, 32,
    34, 36, 37, 38, 40, 42, 43, 44, 46, 48, 49, 50, 52, 54, 55, 56,
    58, 60, 61, 62, 64, 66, 67, 68, 70, 72, 73, 74, 76, 78, 79, 80,
    82, 84, 85, 86, 88, 90, 91, 92, 94, 96, 97, 98, 100, 120, 140, 160,
    190, 210, 230, 250, 280, 300, 320, 340, 370, 390, 410, 430, 460, 480, 500, 520,
    550, 570, 590, 610, 640, 660, 680, 700, 730, 750, 770, 790, 820, 840, 860, 880,
    910, 930, 950, 970, 1000, 1100, 1300, 1400, 1600, 1700, 1800, 2000, 2100, 2300, 2400, 2600,
    2700, 2900, 3000, 3200, 3300, 3500, 3600, 3800, 3900, 4100, 4200, 4400, 4500, 4700, 4800, 5000,
};

// Compressor and noise-gate attack, in hundredths of a millisecond.
inline constexpr std::array<std::uint16_t, kDynamicsTableSize> AttackTable{
    10, 12, 13, 14, 16, 18, 19, 20, 22, 24, 25, 26, 28, 30, 31, 32,
    34, 36, 37, 38, 40, 42, 43, 44, 46, 48, 49, 50, 52, 54, 55, 56,
    58, 60, 61, 62, 64, 66, 67, 68, 70, 72, 73, 74, 76, 78, 79, 80,
    82, 84, 85, 86, 88, 90, 91, 92, 94, 96, 97, 98, 100, 123, 145, 168,
    190, 212, 235, 258, 280, 302, 325, 348, 370, 392, 415, 438, 460, 482, 505, 528,
    550, 572, 595, 618, 640, 662, 685, 708, 730, 752, 775, 798, 820, 843, 865, 888,
    910, 932, 955, 978, 1000, 1300, 1600, 2000, 2300, 2600, 3000, 3300, 3600, 4000, 4300, 4600,
    5000, 5300, 5600, 6000, 6300, 6600, 7000, 7300, 7600, 8000, 8300, 8600, 9000, 9300, 9600, 10000,
};

// Limiter attack, in tenths of a microsecond. Not monotonic: it falls back at index 60.
inline constexpr std::array<std::uint16_t, kDynamicsTableSize> LimiterAttackTable{
    200, 207, 213, 220, 227, 233, 240, 247, 253, 260, 267, 273, 280, 287, 293, 300,
    307, 313, 320, 327, 333, 340, 347, 353, 360, 367, 373, 380, 387, 393, 400, 407,
    413, 420, 427, 433, 440, 447, 453, 460, 467, 473, 480, 487, 493, 500, 507, 513,
    520, 527, 533, 540, 547, 553, 560, 567, 573, 580, 587, 593, 400, 412, 425, 438,
    450, 462, 475, 488, 500, 512, 525, 538, 550, 562, 575, 588, 600, 612, 625, 638,
    650, 662, 675, 688, 700, 712, 725, 738, 750, 762, 775, 788, 800, 812, 825, 838,
    850, 862, 875, 888, 1000, 2000, 3100, 4200, 5200, 6300, 7400, 8500, 9500, 10600, 11700, 12800,
    13800, 14900, 16000, 17100, 18100, 19200, 20300, 21400, 22400, 23500, 24600, 25700, 26700, 27800, 28900, 30000,
};

// Compressor threshold in dB; code 0 is shown as "-Inf" instead of its entry.
inline constexpr std::array<std::int8_t, kCompressorThresholdCount> CompressorThresholdTable{
    -30, -24, -21, -18, -15, -12, -11, -10, -9, -8, -7, -6, -5, -4, -3,
    -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
};

inline constexpr std::array<const char*, 4> CompressorBoostTexts{"x1", "x2", "x4", "x8"};

inline constexpr std::array<const char*, 9> LimiterHoldTexts{
    "0ms", "1ms", "3ms", "4ms", "5ms", "7ms", "8ms", "9ms", "10ms",
};

// "0FF" is written with a zero, as the units show it.
inline constexpr std::array<const char*, 29> GateThresholdTexts{
    "0FF", "-66dB", "-60dB", "-57dB", "-54dB", "-51dB", "-48dB", "-45dB",
    "-44dB", "-43dB", "-42dB", "-41dB", "-40dB", "-39dB", "-38dB", "-37dB",
    "-36dB", "-35dB", "-34dB", "-33dB", "-32dB", "-31dB", "-30dB", "-29dB",
    "-28dB", "-27dB", "-26dB", "-25dB", "-24dB",
};

// ---- Safe lookups -------------------------------------------------------------------------

constexpr int ClampCode(int code, int low, int high)
{
    return code < low ? low : (code > high ? high : code);
}

// FrequencyScale[index], the index clamped into 0..394.
constexpr double FrequencyAt(int index)
{
    return FrequencyScale[std::size_t(ClampCode(index, 0, kFrequencyScaleSize - 1))];
}

// The frequency of PEQ index f (FrequencyScale[f + 35]), f clamped into 0..359.
constexpr double PeqFrequencyAt(int f)
{
    return FrequencyScale[std::size_t(ClampCode(f, 0, kPeqFrequencyCount - 1) + kPeqFrequencyOffset)];
}

constexpr const char* QLabelAt(int q) { return QLabels[std::size_t(ClampCode(q, 0, kQLabelCount - 1))]; }
constexpr double QValueAt(int q) { return QLabelValues[std::size_t(ClampCode(q, 0, kQLabelCount - 1))]; }

constexpr int ReleaseMsAt(int code)
{
    return ReleaseTable[std::size_t(ClampCode(code, 0, kDynamicsTableSize - 1))];
}
constexpr int AttackAt(int code)
{
    return AttackTable[std::size_t(ClampCode(code, 0, kDynamicsTableSize - 1))];
}
constexpr int LimiterAttackAt(int code)
{
    return LimiterAttackTable[std::size_t(ClampCode(code, 0, kDynamicsTableSize - 1))];
}
constexpr int CompressorThresholdAt(int code)
{
    return CompressorThresholdTable[std::size_t(ClampCode(code, 0, kCompressorThresholdCount - 1))];
}

// A name list entry, or nullptr when the code has no name (for example crossover type 28).
template <std::size_t N>
constexpr const char* NameAt(const std::array<const char*, N>& names, int code)
{
    return code >= 0 && code < int(N) ? names[std::size_t(code)] : nullptr;
}

// The first code whose table entry is at least value, in table order; the last code when none is.
// This is how a typed attack or release finds its code, also over the non-monotonic limiter table.
template <typename T, std::size_t N>
constexpr int FirstCodeAtLeast(const std::array<T, N>& table, double value)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (double(table[i]) >= value)
            return int(i);
    }
    return int(N) - 1;
}
