/* Reads the plug-in's dynamic section, for the 32-bit and the 64-bit
   ELF alike: what it needs must be libc alone, and it has no SONAME. */
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Dynamic {
	std::vector<std::string> needed;
	bool soname = false;
};

/* A copy of the T at off, if the image holds one there. */
template <class T> std::optional<T> at(const std::string &img, uint64_t off)
{
	if (off > img.size() || img.size() - off < sizeof(T))
		return std::nullopt;
	T v;
	memcpy(&v, img.data() + off, sizeof v);
	return v;
}

template <class Ehdr, class Shdr, class Dyn>
std::optional<Dynamic> dynamic(const std::string &img)
{
	auto eh = at<Ehdr>(img, 0);
	if (!eh)
		return std::nullopt;
	auto sect = [&](unsigned i) {
		return at<Shdr>(img, eh->e_shoff + (uint64_t)i * eh->e_shentsize);
	};
	for (unsigned i = 0; i < eh->e_shnum; i++) {
		auto sh = sect(i);
		if (!sh)
			return std::nullopt;
		if (sh->sh_type != SHT_DYNAMIC)
			continue;
		auto strs = sect(sh->sh_link);
		if (!strs || strs->sh_offset >= img.size())
			return std::nullopt;
		Dynamic d;
		for (uint64_t k = 0; k + sizeof(Dyn) <= sh->sh_size; k += sizeof(Dyn)) {
			auto e = at<Dyn>(img, sh->sh_offset + k);
			if (!e)
				return std::nullopt;
			if (e->d_tag == DT_NULL)
				break;
			if (e->d_tag == DT_SONAME)
				d.soname = true;
			if (e->d_tag == DT_NEEDED)
				d.needed.push_back(img.c_str() + strs->sh_offset + e->d_un.d_val);
		}
		return d;
	}
	return std::nullopt;
}

TEST(PlotplugElf, NeedsOnlyLibcAndHasNoSoname)
{
	std::ifstream in(PLOTPLUG_PATH, std::ios::binary);
	std::string img{std::istreambuf_iterator<char>(in), {}};
	ASSERT_GT(img.size(), (size_t)EI_NIDENT) << PLOTPLUG_PATH;
	ASSERT_EQ(img.compare(0, SELFMAG, ELFMAG), 0);
	/* read in place: the plug-in is built for the machine that runs
	   this test, so its byte order is ours */
	int order = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
	ASSERT_EQ(img[EI_DATA], order);

	std::optional<Dynamic> d;
	if (img[EI_CLASS] == ELFCLASS32)
		d = dynamic<Elf32_Ehdr, Elf32_Shdr, Elf32_Dyn>(img);
	else if (img[EI_CLASS] == ELFCLASS64)
		d = dynamic<Elf64_Ehdr, Elf64_Shdr, Elf64_Dyn>(img);
	ASSERT_TRUE(d) << "no readable dynamic section";
	EXPECT_FALSE(d->soname);
	for (const std::string &lib : d->needed)
		EXPECT_EQ(lib.rfind("libc.so.", 0), 0u) << "needs " << lib;
}

} // namespace
