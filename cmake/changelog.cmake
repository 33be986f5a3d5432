# The project's version and release date: those of the newest entry of
# debian/changelog, the release history, so that cutting a release is
# one new entry there.  Its first line is "orv (0.1.0-1) ..." (the
# upstream version, then the package revision), its last " -- NAME
# <MAIL>  Thu, 10 Dec 2026 12:00:00 +0000".
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog orv_log)
list(GET orv_log 0 orv_head)
if(NOT orv_head MATCHES "^orv \\(([0-9]+\\.[0-9]+\\.[0-9]+)-[^)]+\\)")
  message(FATAL_ERROR "debian/changelog: no version in its first line: ${orv_head}")
endif()
set(ORV_CHANGELOG_VERSION ${CMAKE_MATCH_1})
list(FILTER orv_log INCLUDE REGEX "^ -- ")
list(GET orv_log 0 orv_tail)
if(NOT orv_tail MATCHES ", ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) ")
  message(FATAL_ERROR "debian/changelog: no date in its entry's last line: ${orv_tail}")
endif()
set(orv_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND orv_months ${CMAKE_MATCH_2} orv_m)
math(EXPR orv_m "${orv_m} + 1")
math(EXPR orv_d "${CMAKE_MATCH_1}")
foreach(v orv_m orv_d)
  if(${v} LESS 10)
    set(${v} 0${${v}})
  endif()
endforeach()
# The date of the manual pages.
set(ORV_DATE ${CMAKE_MATCH_3}-${orv_m}-${orv_d})
unset(orv_log)
unset(orv_head)
unset(orv_tail)
unset(orv_months)
