// A double as orv writes it, found another way than orv does: the
// fewest digits that printf needs for the double to read back, laid out
// without an exponent from 1e-6 up to 1e21 and with one outside, as
// JavaScript writes numbers.
#ifndef ORV_TESTS_ORV_NUMBER_H
#define ORV_TESTS_ORV_NUMBER_H

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

inline std::string jsnum(double d)
{
	if (isinf(d) || isnan(d))
		return std::string(signbit(d) ? "-" : "+") + (isinf(d) ? "inf" : "nan");
	char b[64];
	for (int p = 0;; p++) {
		snprintf(b, sizeof b, "%.*e", p, fabs(d));
		if (strtod(b, nullptr) == fabs(d))
			break;
	}
	std::string s = b, digits = s.substr(0, 1) + (s[1] == '.' ? s.substr(2, s.find('e') - 2) : "");
	int e = atoi(s.c_str() + s.find('e') + 1), k = int(digits.size());
	std::string r = signbit(d) ? "-" : "";
	if (e >= 21 || e < -6)
		return r + digits[0] + (k > 1 ? "." + digits.substr(1) : "") + (e < 0 ? "e-" : "e+") +
		       std::to_string(abs(e));
	if (e < 0)
		return r + "0." + std::string(size_t(-e - 1), '0') + digits;
	if (k <= e + 1)
		return r + digits + std::string(size_t(e + 1 - k), '0');
	return r + digits.substr(0, size_t(e + 1)) + "." + digits.substr(size_t(e + 1));
}

#endif
