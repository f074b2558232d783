#pragma once

// The kind flags a rule or a proposal gives a booking. EU, Drittland,
// reverseCharge and bauleistung exclude one another.
struct Merkmale {
    bool eu = false;
    bool drittland = false;
    bool reverseCharge = false;
    bool bauleistung = false;
    bool kfz = false;
    bool gebaeude = false;

    bool operator==(const Merkmale&) const = default;
};
