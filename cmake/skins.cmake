# The default skin, drawn from source: the native build's skingen (tools/skingen) packs it
# into ${GENERATED_RES_DIR}/default.skin, which the programs' resource scripts embed.
# Programs that embed it depend on the target default_skin.
set(HOST_SKINGEN "${NATIVE_BUILD_DIR}/tools/skingen/skingen")
set(DEFAULT_SKIN_FILE "${GENERATED_RES_DIR}/default.skin")
add_custom_command(OUTPUT "${DEFAULT_SKIN_FILE}"
  COMMAND "${HOST_SKINGEN}" --pack "${DEFAULT_SKIN_FILE}"
  DEPENDS "${HOST_SKINGEN}"
  COMMENT "Packing the default skin")
add_custom_target(default_skin ALL DEPENDS "${DEFAULT_SKIN_FILE}")

# The same skin as a form's stored SkinStream value (its length, then the file), embedded
# as the RCDATA resource DEFAULTSKIN that the forms name with "SkinStream = @DEFAULTSKIN".
set(DEFAULT_SKIN_STREAM "${GENERATED_RES_DIR}/default.skinstream")
add_custom_command(OUTPUT "${DEFAULT_SKIN_STREAM}"
  COMMAND "${HOST_SKINGEN}" --stream "${DEFAULT_SKIN_STREAM}"
  DEPENDS "${HOST_SKINGEN}"
  COMMENT "Packing the default skin as a stored form value")
add_custom_target(default_skin_stream ALL DEPENDS "${DEFAULT_SKIN_STREAM}")
