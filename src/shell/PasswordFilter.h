#pragma once

class QLineEdit;

// The password boxes' rule: on every change, once the text holds two or more characters, every
// character with a code of 128 or more is removed. The cursor stays where the operator typed.
class PasswordFilter {
public:
    static void attach(QLineEdit* edit);
};
