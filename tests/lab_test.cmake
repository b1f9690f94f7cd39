# ostrel_add_lab_test(NAME name COMMAND command...
#                     [LAB option...] [MODE_ARGUMENT] [UNPRIVILEGED_ARGS arg...] [ENVIRONMENT var=value...]
#                     [TIMEOUT seconds])
#
# Registers a test that needs a private network in each of its modes; every
# one carries the label "lab" and reports itself skipped (77) where no
# namespace can be made.
#   LAB option...    the command runs inside tools/ostrel-lab with these options
#                    (--cameras, --host, ...): name_root, name_user, and
#                    name_unprivileged (the user mode as an ordinary user).
#   MODE_ARGUMENT    the command starts ostrel-lab itself and takes the mode
#                    (root or user) as its last argument: the same three tests.
#   neither          the command makes its own namespace: name, and
#                    name_unprivileged as an ordinary user.
# UNPRIVILEGED_ARGS go to the command of the ordinary user's run only. The
# ordinary user's run works from a staged copy of what it names (see
# tests/support/as-ordinary-user). TIMEOUT (default 180 s) is per test.
function(ostrel_add_lab_test)
  cmake_parse_arguments(PARSE_ARGV 0 LAB_TEST "MODE_ARGUMENT" "NAME;TIMEOUT" "COMMAND;LAB;UNPRIVILEGED_ARGS;ENVIRONMENT")
  set(lab ${PROJECT_SOURCE_DIR}/tools/ostrel-lab)
  set(ordinary_user ${PROJECT_SOURCE_DIR}/tests/support/as-ordinary-user ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR})
  set(name ${LAB_TEST_NAME})
  set(command ${LAB_TEST_COMMAND})
  set(unprivileged ${LAB_TEST_COMMAND} ${LAB_TEST_UNPRIVILEGED_ARGS})
  if(DEFINED LAB_TEST_LAB)
    add_test(NAME ${name}_root COMMAND ${lab} --mode root ${LAB_TEST_LAB} -- ${command})
    add_test(NAME ${name}_user COMMAND ${lab} --mode user ${LAB_TEST_LAB} -- ${command})
    add_test(NAME ${name}_unprivileged COMMAND ${ordinary_user} ${lab} --mode user ${LAB_TEST_LAB} -- ${unprivileged})
    set(tests ${name}_root ${name}_user ${name}_unprivileged)
  elseif(LAB_TEST_MODE_ARGUMENT)
    add_test(NAME ${name}_root COMMAND ${command} root)
    add_test(NAME ${name}_user COMMAND ${command} user)
    add_test(NAME ${name}_unprivileged COMMAND ${ordinary_user} ${unprivileged} user)
    set(tests ${name}_root ${name}_user ${name}_unprivileged)
  else()
    add_test(NAME ${name} COMMAND ${command})
    add_test(NAME ${name}_unprivileged COMMAND ${ordinary_user} ${unprivileged})
    set(tests ${name} ${name}_unprivileged)
  endif()
  if(NOT DEFINED LAB_TEST_TIMEOUT)
    set(LAB_TEST_TIMEOUT 180)
  endif()
  set_tests_properties(${tests} PROPERTIES LABELS lab SKIP_RETURN_CODE ${OSTREL_SKIP_CODE} TIMEOUT ${LAB_TEST_TIMEOUT})
  if(DEFINED LAB_TEST_ENVIRONMENT)
    set_tests_properties(${tests} PROPERTIES ENVIRONMENT "${LAB_TEST_ENVIRONMENT}")
  endif()
endfunction()
