#ifndef MESSAGES_H
#define MESSAGES_H

/* The texts the device shows, in UTF-8. */
extern const char *const messages[];
extern const unsigned message_count;

#endif
