# gold links the project's many test programs in about half the time the default linker takes.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=gold QEL_LINKER_GOLD)
if(QEL_LINKER_GOLD)
    add_link_options(-fuse-ld=gold)
endif()
