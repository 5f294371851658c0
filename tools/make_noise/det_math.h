// Elementary functions built from +, -, *, / and sqrt only, so that the
// generated tables do not depend on the C library's rounding of exp, log,
// sin and cos: the same bytes come out on every machine.
#pragma once

double DetExp(double x);
double DetLog(double x); // x > 0
double DetSin(double x);
double DetCos(double x);
double DetPow(double base, double exponent); // base > 0
double DetSinh(double x);
double DetAsinh(double x);
// The quantile of the standard normal distribution, p in (0, 1).
double InverseNormal(double p);

constexpr double kDetPi = 3.14159265358979323846;
