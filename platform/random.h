#pragma once
// The game's one random generator. Random(n) is uniform in 0..n-1.
#include <cstdint>
#include <deque>
#include <random>

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual int Random(int n) = 0;
};

class MtRandom : public RandomSource {
public:
    explicit MtRandom(uint32_t seed = 5489u) : gen_(seed) {}
    void Seed(uint32_t seed) { gen_.seed(seed); }
    int Random(int n) override {
        if (n <= 1) return 0;
        std::uniform_int_distribution<int> d(0, n - 1);
        return d(gen_);
    }
private:
    std::mt19937 gen_;
};

// Tests script the next draws; once the script runs out it falls back to a
// seeded generator. A scripted value is reduced into 0..n-1.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(uint32_t seed = 1) : fallback_(seed) {}
    void Push(int v) { script_.push_back(v); }
    void Clear() { script_.clear(); }
    size_t Pending() const { return script_.size(); }
    int Random(int n) override {
        if (n <= 1) { if (!script_.empty()) script_.pop_front(); return 0; }
        if (!script_.empty()) {
            int v = script_.front();
            script_.pop_front();
            v %= n;
            return v < 0 ? v + n : v;
        }
        return fallback_.Random(n);
    }
private:
    std::deque<int> script_;
    MtRandom fallback_;
};
