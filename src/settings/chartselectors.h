#pragma once
// The chart's sensor selectors as the settings see them. The options and the operating
// modes decide which selectors of the parameter list make sense for the connected
// module's wiring; the list itself belongs to the chart, so the window binds these hooks
// to it. A hook left unbound does nothing.

#include <functional>

struct ChartSelectors {
    // Lambda sensor 1 and 2: the plain voltage selector, or the pair "before the module"
    // and "after the module" (offset connection of a zirconia sensor).
    std::function<void()> d1Plain, d1Split, d2Plain, d2Split;
    // The digital MAF's output frequency, its pulse frequency and the analog MAF voltage.
    std::function<void(bool)> digitalOutput, pulseFrequency, analogVoltage;

    void Show_D1_Plain() const { call(d1Plain); }
    void Show_D1_Split() const { call(d1Split); }
    void Show_D2_Plain() const { call(d2Plain); }
    void Show_D2_Split() const { call(d2Split); }
    void showDigitalOutput(bool visible) const { call(digitalOutput, visible); }
    void showPulseFrequency(bool visible) const { call(pulseFrequency, visible); }
    void showAnalogVoltage(bool visible) const { call(analogVoltage, visible); }

  private:
    template <class F, class... A> static void call(const F& f, A... a) {
        if (f) f(a...);
    }
};
