#pragma once
#include "model/MatrixParameters.h"

#include <QString>

// Display texts of the integer codes, as the editor pages and dialogs show them (English, no
// blank before a unit). Every function takes any code: a numeric code outside its range is shown
// as the nearest valid value, a code outside a name list gives an empty text.

// PEQ frequency index 0..359 without the unit: "19.7", "59", "23.0" (index 8), "94", "981",
// "1.00K", "9.89K", "10.1K", "20.2K". The editor appends "Hz".
QString PeqFrequencyText(int index);

// A crossover frequency in Hz: "10Hz", "19.7Hz", "1000Hz", "1.02KHz", "2.0KHz", "19.8KHz".
QString FrequencyText(double hz);
// FrequencyText of FrequencyScale[index].
QString CrossoverFrequencyText(int index);

// PEQ gain code 480..720 as the shortest decimal with "dB": "3.5dB", "0dB", "-12dB", "-0.1dB".
QString PeqGainText(int code);
QString QLabelText(int q);
// "PEQ" .. "ALLPASS"; empty above 3.
QString PeqTypeText(int type);
// "FLAT THRU" .. "48dB Link_Riley"; empty for 28 and any other code without a name.
QString FilterTypeText(int type);

// Level of a LevelWord (mute bit ignored), code clamped into 200..660: "-40.0dB" .. "6.0dB".
QString LevelDbText(LevelWord word);

// Delay code 0..13650 in the three display units, two decimals: "291.50ms", "100.00m", "328.23ft".
QString DelayMsText(int code);
QString DelayMetresText(int code);
QString DelayFeetText(int code);

// Compressor and noise-gate attack: AttackTable[code] / 100 with two decimals, "1.00ms".
QString AttackText(int code);
// Any release: ReleaseTable[code], "100ms".
QString ReleaseText(int code);
// "-Inf" for code 0, else the table value as an integer, "6dB".
QString CompressorThresholdText(int code);
// code + 1 over 128: "64:128".
QString CompressorRatioText(int code);
QString CompressorBoostText(int code);
// LimiterAttackTable[code] / 10 with one decimal, "20.0us".
QString LimiterAttackText(int code);
// "-Inf" for code 0, else 10 - (127 - code) * 0.5 with one decimal, "-53.0dB" .. "10.0dB".
QString LimiterThresholdText(int code);
QString LimiterHoldText(int code);
// "0FF", "-66dB" .. "-24dB".
QString GateThresholdText(int code);
