# Copies the companions from resources/ beside the programs; the drawings the pictures are
# rendered from stay behind.
file(COPY ${SOURCE}/ DESTINATION ${DESTINATION}
     PATTERN pictures EXCLUDE
     PATTERN icons EXCLUDE)
