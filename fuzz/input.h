/* Reads a fuzz input front to back: little-endian integers, then the
   rest as bytes.  Past the end every read gives zeros, so that any input,
   however short, decodes to something. */
#ifndef ORV_FUZZ_INPUT_H
#define ORV_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <string>

struct input {
	const uint8_t *p;
	size_t n;

	uint8_t u8()
	{
		if (n == 0)
			return 0;
		n--;
		return *p++;
	}
	int8_t i8() { return (int8_t)u8(); }
	uint16_t u16()
	{
		uint16_t lo = u8();
		return (uint16_t)(lo | u8() << 8);
	}
	int16_t i16() { return (int16_t)u16(); }
	int32_t i32()
	{
		uint32_t lo = u16();
		return (int32_t)(lo | (uint32_t)u16() << 16);
	}
	/* The next k bytes, or fewer where the input ends. */
	std::string bytes(size_t k)
	{
		if (k > n)
			k = n;
		std::string s((const char *)p, k);
		p += k;
		n -= k;
		return s;
	}
	std::string rest() { return bytes(n); }
};

#endif
