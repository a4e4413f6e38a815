// What the built-in functions compute, refuse and warn about. Reference values are the
// mathematical ones; where the program's numerical method is deliberately coarse (GAMMA,
// INVERF's series) the tolerance says so.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <set>

#include "engine/normalise.h"
#include "engine_test_support.h"

namespace pc {
namespace {

using test::kNotDefined;

constexpr TAngleMode RAD = TAngleMode::RAD;
constexpr TAngleMode DEG = TAngleMode::DEG;
constexpr TAngleMode GON = TAngleMode::GON;
constexpr Extended kE = 2.71828182845904523536L;
constexpr Extended kTight = 1E-17L;  // a few units in the last place of values near 1

struct BuiltinCase {
    const char* term;
    TAngleMode mode;
    ParserStatus status;
    Extended value;
    Extended tolerance;
    const char* message;
};

std::ostream& operator<<(std::ostream& out, const BuiltinCase& c) {
    return out << c.term << " (angle mode " << static_cast<int>(c.mode) << ")";
}

BuiltinCase Ok(const char* term, Extended value, Extended tolerance = 0, TAngleMode mode = RAD) {
    return {term, mode, ParserStatus::Ok, value, tolerance, ""};
}

BuiltinCase Warns(const char* term, Extended value, const char* message) {
    return {term, RAD, ParserStatus::Ok, value, 0, message};
}

BuiltinCase Refused(const char* term, const char* message = kNotDefined) {
    return {term, RAD, ParserStatus::EvaluationFailed, 0, 0, message};
}

class Builtins : public testing::TestWithParam<BuiltinCase> {};

TEST_P(Builtins, ComputeRefuseOrWarn) {
    const BuiltinCase& c = GetParam();
    const test::Outcome outcome = test::Evaluate(c.term, kNaN, c.mode);  // X is NaN
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.message, c.message);
    if (c.tolerance == 0) {
        EXPECT_TRUE(test::SameValue(outcome.value, c.value))
            << outcome.value << " instead of " << c.value;
    } else {
        EXPECT_TRUE(test::Near(outcome.value, c.value, c.tolerance));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Elementary, Builtins,
    testing::Values(Ok("CABS(3;4)", 5), Ok("CABS(-5;12)", 13), Ok("CABS(0;0)", 0),
                    Ok("CABS(1E3000;1E3000)", 1.41421356237309504880E3000L,
                       1E2983L),  // no overflow of the squares
                    Ok("SQRT(16)", 4), Refused("SQRT(-1)"), Ok("LN(E)", 1, kTight),
                    Refused("LN(0)"), Refused("LN(-1)"), Ok("EXP(1)", kE, kTight),
                    Refused("EXP(20000)"), Ok("LG(1000)", 3), Refused("LG(0)"), Ok("LB(8)", 3),
                    Refused("LB(-1)"), Ok("LOG(2;8)", 3, kTight), Ok("LOG(10;0.001)", -3, kTight),
                    Refused("LOG(1;5)"), Ok("SQR(-3)", 9), Ok("ABS(-3)", 3), Ok("SGN(-3)", -1),
                    Ok("SGN(0)", 0), Ok("SGN(2)", 1), Ok("CBRT(-27)", -3, kTight),
                    Ok("CBRT(8)", 2, kTight), Ok("CBRT(1E-101)", 0), Ok("REZ(4)", 0.25),
                    Warns("REZ(0)", 0, "Division by zero. Large value inserted."),
                    Warns("REZ(1E-200)", 1E4000L, "Division by zero. Large value inserted."),
                    Warns("REZ(-1E-100)", -1E4000L, "Division by zero. Large value inserted."),
                    Ok("REZ(2E-100)", 5E99L, 1E82L), Ok("THETA(0)", 1), Ok("THETA(-1E-300)", 0),
                    Ok("FRAC(-2.75)", -0.75), Ok("FRAC(2.5)", 0.5), Ok("INT(-2.75)", -2),
                    Ok("INT(2.75)", 2), Ok("MAX(1;2)", 2), Ok("MIN(1;2)", 1), Ok("MAX(0;-0)", 0),
                    Ok("MAX(-0;0)", -0.0L), Ok("MIN(-0;0)", -0.0L),  // the first when equal

                    Ok("MODULO(7;3)", 1, kTight), Ok("MODULO(-7;3)", -1, kTight),
                    Ok("MODULO(7.5;2)", 1.5), Refused("MODULO(5;0)"), Ok("RAMP(0.5;0;1)", 0.5),
                    Ok("RAMP(0;0;1)", 0), Ok("RAMP(1;0;1)", 1), Ok("RAMP(2;0;1)", 1),
                    Ok("RAMP(-1;0;1)", 0), Ok("CEIL(2.1)", 3), Ok("CEIL(-2.1)", -2),
                    Ok("FLOOR(-2.1)", -3), Ok("CEIL(3E9+0.5)", 3000000001.0L),
                    Ok("FLOOR(-3E9-0.5)", -3000000001.0L), Ok("ROUND(2.5)", 2), Ok("ROUND(3.5)", 4),
                    Ok("ROUND(-2.5)", -2), Ok("ROUND(5E9+0.5)", 5E9L)));

INSTANTIATE_TEST_SUITE_P(
    Trigonometric, Builtins,
    testing::Values(
        Ok("SIN(PI/6)", 0.5, kTight), Ok("SIN(90)", 1, kTight, DEG), Ok("SIN(100)", 1, kTight, GON),
        Ok("COS(180)", -1, kTight, DEG), Ok("COS(200)", -1, kTight, GON),
        Ok("TAN(45)", 1, kTight, DEG), Ok("COT(45)", 1, kTight, DEG), Refused("COT(0)"),
        Ok("SEC(180)", -1, kTight, DEG), Ok("SEC(0)", 1), Ok("COSEC(90)", 1, kTight, DEG),
        Refused("COSEC(0)"), Ok("ARCSIN(1)", kPi / 2, kTight), Ok("ARCSIN(1)", 90, 1E-15L, DEG),
        Refused("ARCSIN(2)"), Ok("ARCCOS(-1)", 180, 1E-15L, DEG), Ok("ARCTAN(1)", 50, 1E-15L, GON),
        Ok("ARCCOT(0)", kPi / 2, kTight), Ok("ARCCOT(0)", 90, 1E-15L, DEG),
        Ok("ARCCOT(-1E-17)", kPi / 2, kTight), Ok("ARCCOT(1)", kPi / 4, kTight),
        Ok("ARCCOT(-1)", -kPi / 4, kTight), Ok("ATAN2(1;1)", 50, 1E-15L, GON),
        Ok("ATAN2(0;-1)", kPi, 1E-17L), Ok("ATAN2(-1;0)", -90, 1E-15L, DEG)));

INSTANTIATE_TEST_SUITE_P(
    Hyperbolic, Builtins,
    testing::Values(Ok("SINH(1)", 1.17520119364380145688L, kTight), Ok("COSH(0)", 1),
                    Ok("TANH(0.5)", 0.46211715726000975850L, kTight),
                    Ok("COTH(1)", 1.31303528549933130364L, kTight), Refused("COTH(0)"),
                    Ok("ARSINH(1)", 0.88137358701954302523L, kTight),
                    // x + sqrt(x^2+1) cancels to 0 here; the function is odd.
                    Ok("ARSINH(-1E10)", -23.7189981105004021496L, 1E-15L), Ok("ARCOSH(1)", 0),
                    Refused("ARCOSH(0.5)"), Ok("ARTANH(0.5)", 0.54930614433405484570L, kTight),
                    Refused("ARTANH(1)"), Ok("ARCOTH(2)", 0.54930614433405484570L, kTight),
                    Refused("ARCOTH(1)"), Refused("ARCOTH(0.5)")));

INSTANTIATE_TEST_SUITE_P(
    Special, Builtins,
    testing::Values(
        Ok("ERF(0)", 0.5), Ok("ERF(6)", 1), Ok("ERF(-6)", 0),
        Ok("ERF(1)", 0.84134474606854294859L, 1E-14L),
        Ok("ERF(-1)", 0.15865525393145705141L, 1E-14L), Ok("GAUSS(0)", 0.398942280401433L),
        Ok("GAUSS(1)", 0.24197072451914334980L, 1E-15L), Ok("INVERF(0.5)", 0),
        Ok("INVERF(0.6)", 0.25334710313579974132L, 1E-6L),
        Ok("INVERF(0.3)", -0.52440051270804065631L, 1E-6L),
        Refused("INVERF(0.9)", "Argument of inverse Errorfunction is out of the converging region"),
        Ok("SI(0)", 0), Ok("SI(1)", 0.94608307036718301494L, 1E-15L),
        Ok("SI(-1)", -0.94608307036718301494L, 1E-15L),
        Warns("SI(50)", kPi / 2,
              "Argument of integral sine is too large. Result is only approximated"),
        Warns("SI(-43)", -kPi / 2,
              "Argument of integral sine is too large. Result is only approximated"),
        Ok("CI(1)", 0.33740392290096813466L, 1E-15L), Refused("CI(0)"),
        Warns("CI(50)", 0, "Argument of integral cosine is too large. Result is only approximated"),
        Ok("EI(1)", 1.89511781635593675547L, 1E-15L),
        Ok("EI(-1)", -0.21938393439552027368L, 1E-15L), Refused("EI(0)"),
        Ok("LI(E)", 1.89511781635593675547L, 1E-15L), Ok("LI(2)", 1.04516378011749278484L, 1E-15L),
        // The finite product leaves a relative error of about 5E-6.
        Ok("GAMMA(5)", 23.99988L, 5E-6L), Ok("GAMMA(1)", 0.999995L, 5E-7L),
        Ok("GAMMA(2)", 0.999995L, 5E-7L), Ok("GAMMA(-0.5)", -3.54487L, 5E-6L), Refused("GAMMA(0)"),
        Refused("GAMMA(-2)")));

INSTANTIATE_TEST_SUITE_P(
    Bessel, Builtins,
    testing::Values(Ok("J0(0)", 1), Ok("J(1;0)", 0), Ok("J(2.000000000000001;0)", 0),
                    Ok("J3(1)", 0.01956335398266840592L, kTight),
                    // J(-n;x) = (-1)^n J(n;x); values from mpmath.besselj.
                    Ok("J(-3;2.5)", -0.216600391039113524767L, kTight),
                    Ok("J(-2;2.5)", 0.446059058439617226736L, kTight),
                    // Orders beyond 10000 give only the values below the smallest subnormal.
                    Ok("J(20000;1)", 0), Ok("J(-2147483649;3)", 0), Ok("J(1E30;1E20)", 0),
                    Refused("J(20000;30000)"),
                    Refused("J(1.5;1)", "Order of bessel function must be natural")));

INSTANTIATE_TEST_SUITE_P(
    Combinatorial, Builtins,
    testing::Values(
        Ok("FAC(5)", 120), Ok("FAC(0)", 1), Ok("FAC(-3)", 1), Ok("FAC(20)", 2432902008176640000.0L),
        Refused("FAC(2.5)", "Factorial  argument must be natural"), Refused("FAC(2000)"),
        Ok("BINO(5;2)", 10), Ok("BINO(10;3)", 120, 1E-16L), Ok("BINO(0;0)", 1),
        Ok("BINO(5;-1)", 1, 0),
        Refused("BINO(2;5)", "Binomial coefficient:   2nd argument must be smaller than 1st"),
        Refused("BINO(2.5;1)", "Binomial coefficient:  Integer arguments required"),
        Ok("GCD(12;18)", 6), Ok("GCD(17;5)", 1), Ok("GCD(2147483647;4294967294)", 2147483647),
        Refused("GCD(0;5)", "GCD  argument must be natural"),
        Refused("GCD(2.5;5)", "GCD  Integer arguments required"), Ok("LCM(4;6)", 12),
        // The product needs all 63 bits.
        Ok("LCM(2147483647;2147483646)", 4611686011984936962.0L),
        Refused("LCM(0;6)", "LCM  argument must be natural"),
        Refused("LCM(1.5;2)", "LCM  Integer arguments required"),
        Ok("POISSON(2;0)", 0.13533528323661269189L, kTight),
        Ok("POISSON(2;3)", 0.18044704431548358919L, kTight),
        Ok("POISSON(2;-1)", 0.13533528323661269189L, kTight),
        Refused("POISSON(2;1.5)", "Poisson distribution:  Discrete argument required"),
        // The sum runs to k+1.
        Ok("POICUM(2;0)", 0.40600584970983807568L, kTight),
        Ok("POICUM(2;-1)", 0.13533528323661269189L, kTight),
        Refused("POICUM(2;0.5)", "Poisson distribution:  Discrete argument required")));

INSTANTIATE_TEST_SUITE_P(
    Logical, Builtins,
    testing::Values(Ok("IF(1;2;3)", 2), Ok("IF(0;2;3)", 3),
                    Refused("IF(0.5;2;3)", "IF: Boolean condition expected "),
                    Refused("IF(1;2;1/0)", kNotDefined), Ok("NOT(1)", 0), Ok("NOT(0)", 1),
                    Refused("NOT(2)", "Logical NOT:  Boolean argument required"), Ok("BNOT(5)", -6),
                    Refused("BNOT(2.5)", "Bitwise NOT: Integer argument required"),
                    Refused("BNOT(3E9)"), Ok("ODD(3)", 1), Ok("ODD(-3)", 1), Ok("ODD(4)", 0),
                    Ok("ODD(3.000000000000001)", 1),
                    Refused("ODD(2.5)", "Odd: integer argument required")));

INSTANTIATE_TEST_SUITE_P(Random, Builtins,
                         testing::Values(Ok("RND(0)", 0), Ok("RAND(2;2)", 2),
                                         Ok("NORMRAND(3;0)", 3), Ok("POIRAND(0)", 0),
                                         Refused("POIRAND(1E6)"), Refused("POIRAND(-1E6)")));

// Routines work on NaN quietly; X is NaN.
INSTANTIATE_TEST_SUITE_P(NaN, Builtins,
                         testing::Values(Ok("SIN(X)", kNaN), Ok("SQRT(X)", kNaN), Ok("LN(X)", kNaN),
                                         Ok("THETA(X)", kNaN), Ok("REZ(X)", kNaN),
                                         Ok("ERF(X)", kNaN), Ok("GAMMA(X)", kNaN),
                                         Ok("J0(X)", kNaN), Ok("MAX(X;1)", kNaN),
                                         Ok("MIN(1;X)", kNaN), Ok("ROUND(X)", kNaN),
                                         Ok("ARSINH(X)", kNaN), Ok("RAMP(X;0;1)", kNaN),
                                         Ok("CABS(X;1)", kNaN), Ok("POIRAND(X)", kNaN),
                                         Ok("SI(X)", kNaN), Ok("EI(X)", kNaN), Ok("SGN(X)", 0),
                                         Refused("IF(X;1;2)", "IF: Boolean condition expected ")));

INSTANTIATE_TEST_SUITE_P(MissingArguments, Builtins,
                         testing::Values(Refused("SIN()", test::kMissingOperand),
                                         Refused("MAX(1)", test::kMissingOperand),
                                         Refused("IF(1;2)", test::kMissingOperand),
                                         Refused("RAMP()", test::kMissingOperand)));

// Reference values from mpmath 1.3.0, mpmath.besselj(n, x) at 40 digits.
TEST(Builtins, BesselMatchesReferenceValues) {
    const Extended xs[] = {1, 5, 20, 39.999L, 40, 45, -45, 100, 1000};
    struct Row {
        int order;
        Extended values[std::size(xs)];
    } const rows[] = {
        // clang-format off
        {0, {0.76519768655796655145L, -0.177596771314338304347L, 0.167024664340583154727L, 0.00749292677329777950934L, 0.00736689058423728955353L, 0.115818670673256323588L, 0.115818670673256323588L, 0.0199858503042231224242L, 0.0247866861524201745613L}},
        {1, {0.44005058574493351596L, -0.327579137591465222038L, 0.066833124175850045579L, 0.126034039072662906172L, 0.126038318037584999206L, 0.0283488543764245275337L, -0.0283488543764245275337L, -0.0771453520141121580327L, 0.00472831190708952391758L}},
        {2, {0.11490348493190048047L, 0.0465651162777522155323L, -0.160341351922998150169L, -0.00119106727317713118452L, -0.00106497468235803959325L, -0.11455872158985967792L, -0.11455872158985967792L, -0.0215287573445053655849L, -0.0247772295286059955135L}},
        {5, {2.49757730211234431375e-4L, 0.261140546120170090055L, 0.151169767982394974607L, 0.122606584487692709931L, 0.122573465977117786989L, 0.0579844992009541312189L, -0.0579844992009541312189L, -0.0741957369645139208341L, 0.00502540694523318607424L}},
        {8, {9.42234417260450054539e-8L, 0.0184052166548020009203L, -0.0738689288407503413194L, -0.0862175109283071697002L, -0.0863083152453173276737L, 0.0704871876414061677669L, 0.0704871876414061677669L, 0.0433495598823864550618L, 0.0246235059711322293504L}},
        {12, {4.9997181794484052891e-13L, 7.62781316608455135506e-5L, -0.118990624310399065105L, -0.127002223616950796213L, -0.126977996117848063612L, -0.0320750100562649249582L, -0.0320750100562649249582L, 0.0662360486596380412578L, 0.0243840865304383040239L}},
        // clang-format on
    };
    for (const Row& row : rows) {
        std::vector<std::string> terms = {"J(" + std::to_string(row.order) + ";X)"};
        if (row.order <= 5) {
            terms.push_back("J" + std::to_string(row.order) + "(X)");
        }
        for (std::size_t i = 0; i < std::size(xs); ++i) {
            for (const std::string& term : terms) {
                const test::Outcome outcome = test::Evaluate(term, xs[i]);
                EXPECT_EQ(outcome.status, ParserStatus::Ok) << term << " at " << xs[i];
                EXPECT_TRUE(
                    test::Near(outcome.value, row.values[i], 1E-12L * std::fabs(row.values[i])))
                    << term << " at " << xs[i];
            }
        }
    }
}

// GAMMA is the finite Weierstrass product; here it is multiplied out factor by factor, as
// written, for arguments in [1, 2), which take no shifting step.
TEST(Builtins, GammaIsTheFiniteProductInClosedForm) {
    test::ParserWithDeclarations setup;
    setup.parser.SetTerm("F(X)=GAMMA(X)");
    for (int i = 0; i < 50; ++i) {
        const Extended z = 1 + i / 50.0L;
        Extended slow = std::exp(-0.5772156649015323L * z) / z;
        for (int n = 1; n <= 100000; ++n) {
            slow = std::exp(z / n) * slow / (z / n + 1);
        }
        EXPECT_TRUE(test::Near(setup.ValueAt(z).value, slow, 1E-13L * slow))
            << "GAMMA(" << z << ")";
    }
}

// Random functions: only their ranges and averages are fixed.
TEST(Builtins, RandomFunctionsStayInTheirRanges) {
    test::ParserWithDeclarations setup;
    auto values = [&setup](const char* term, int count) {
        setup.parser.SetTerm(std::string("F(X)=") + term);
        std::vector<Extended> result;
        for (int i = 0; i < count; ++i) {
            result.push_back(setup.parser.Value());
            EXPECT_EQ(setup.parser.EvaluationStatus(), ParserStatus::Ok) << term;
        }
        return result;
    };
    std::set<Extended> distinct;
    for (Extended v : values("RND(2)", 500)) {
        EXPECT_TRUE(v >= 0 && v < 2) << v;
        distinct.insert(v);
    }
    EXPECT_GT(distinct.size(), 400u) << "RND must not repeat itself";
    for (Extended v : values("RAND(2;5)", 500)) {
        EXPECT_TRUE(v >= 2 && v < 5) << v;
    }
    // INVERF of a uniform number in [0.16, 0.84) stays within (-1, 1).
    for (Extended v : values("NORMRAND(10;2)", 500)) {
        EXPECT_TRUE(v > 8 && v < 12) << v;
    }
    Extended sum = 0;
    for (Extended v : values("POIRAND(3)", 4000)) {
        EXPECT_TRUE(v >= 0 && v == std::floor(v)) << v;
        sum += v;
    }
    EXPECT_TRUE(test::Near(sum / 4000, 3, 0.25)) << "the mean of the counts is the parameter";
}

}  // namespace
}  // namespace pc
