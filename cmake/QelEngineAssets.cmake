# The engine's own built assets: GLSL shaders compiled to SPIR-V ".cso" files under the cooked asset
# root (a shader that does not compile fails the build), and the files our tools make under the engine
# asset root. Both roots are the run layout's folders beside the executable.
set(QEL_COOKED_ROOT ${QEL_RUNTIME_DIR}/data/cooked CACHE INTERNAL "The run layout's cooked asset root")
set(QEL_ENGINE_ROOT ${QEL_RUNTIME_DIR}/data/engine CACHE INTERNAL "The run layout's engine asset root")

# qel_add_shaders(TARGET SOURCE_ROOT): every .vert and .frag below SOURCE_ROOT becomes
# <cooked root>/<same folders>/<name>.cso; .glsl files there are includes every shader depends on.
function(qel_add_shaders aTarget aSourceRoot)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${aSourceRoot}/*.vert ${aSourceRoot}/*.frag)
    file(GLOB_RECURSE includes CONFIGURE_DEPENDS ${aSourceRoot}/*.glsl)
    set(outputs)
    foreach(source IN LISTS sources)
        file(RELATIVE_PATH relative ${aSourceRoot} ${source})
        get_filename_component(folder ${relative} DIRECTORY)
        get_filename_component(name ${relative} NAME_WE)
        set(output ${QEL_COOKED_ROOT}/${folder}/${name}.cso)
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_COOKED_ROOT}/${folder}
            COMMAND ${GLSLANG_VALIDATOR} -G -o ${output} ${source}
            DEPENDS ${source} ${includes}
            COMMENT "Compiling shader ${relative}"
            VERBATIM)
        list(APPEND outputs ${output})
    endforeach()
    add_custom_target(${aTarget} ALL DEPENDS ${outputs})
endfunction()

# qel_add_engine_textures(TARGET TOOL_SOURCE): builds the texture tool and runs it once its source
# changes, writing the engine's cube maps and default material textures below <engine root>/Textures.
function(qel_add_engine_textures aTarget aToolSource)
    add_executable(QelMakeEngineTextures ${aToolSource})
    target_link_libraries(QelMakeEngineTextures PRIVATE QelPlatform qel_warnings)
    qel_use_sanitizer_defaults(QelMakeEngineTextures)
    set(outputs)
    foreach(name whiteCubeMap horizonCubeMap T_Default_c T_Default_n T_Default_m T_Default_fx)
        list(APPEND outputs ${QEL_ENGINE_ROOT}/Textures/${name}.dds)
    endforeach()
    add_custom_command(OUTPUT ${outputs}
        COMMAND QelMakeEngineTextures ${QEL_ENGINE_ROOT}/Textures
        DEPENDS QelMakeEngineTextures
        COMMENT "Making the engine textures"
        VERBATIM)
    add_custom_target(${aTarget} ALL DEPENDS ${outputs})
endfunction()
